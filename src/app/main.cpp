// Start-up: the window, a station, or a command of the command-line front end.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/start_window.h"
#include "app/station_argument.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return tarnwick::startWindow(argc, argv);
    if (tarnwick::isStationArgument(args[0])) return tarnwick::startStation(args);
    return tarnwick::runCommandLine(args, tarnwick::CommandIo{});
}
