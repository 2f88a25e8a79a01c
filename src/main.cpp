// Start-up: the window, a station, or a command of the command-line front end.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "window/start_window.h"
#include "station/station_argument.h"
#include "station/station_start.h"

namespace {

[[maybe_unused]] bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The window needs a display, or a platform chosen outright; without one the toolkit
// would abort.
bool windowCanStart() {
#ifdef TARNWICK_HAVE_QT
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() && !windowCanStart()) {
        std::fputs("tarnwick: the window needs a display (DISPLAY or WAYLAND_DISPLAY is not set).\n"
                   "Use the command line instead: tarnwick --help lists the commands.\n",
                   stderr);
        return 1;
    }
    if (args.empty()) return tarnwick::startWindow(argc, argv);
    if (tarnwick::isStationArgument(args[0])) return tarnwick::startStation(args);
    return tarnwick::runCommandLine(args, tarnwick::CommandIo{});
}
