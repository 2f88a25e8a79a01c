// A station's process: the station argument, the single-instance lock and the main window
// on the console, whose few boxes go to standard error.
#include <csignal>
#include <cstdio>

#include "window/console_dialog.h"
#include "window/main_window.h"
#include "window/start_window.h"
#include "station/station.h"
#include "station/station_start.h"
#include "station/station_argument.h"
#include "platform/posix/instance_lock.h"

namespace tarnwick {

namespace {
constexpr int kExitAlreadyRunning = 1;
constexpr int kExitNoResult = 12;

constexpr const char* kStationHelp =
    "Usage: tarnwick /NN [--help]\n"
    "  Runs production-line station NN (01..20): it takes its package, port and modes from the\n"
    "  station's information file, writes its product, and leaves its status and result in\n"
    "  the station's slot for the line's monitor (`tarnwick monitor`). Nothing is asked.\n"
    "  --help  Shows this text; the station is not started.\n";
}  // namespace

int startStation(const std::vector<std::string>& args) {
    const StationArgument station = parseStationArgument(args.empty() ? std::string() : args.front());
    if (!station.accepted()) {
        std::fprintf(stderr, "%s\n", station.refusal.c_str());
        return kExitStationUsage;
    }
    // Only --help may follow: anything else would be ignored by a run that writes a product.
    if (args.size() == 2 && args[1] == "--help") {
        std::fputs(kStationHelp, stdout);
        return 0;
    }
    if (args.size() > 1) {
        std::fprintf(stderr, "tarnwick %s: unexpected argument '%s'\n%s", args[0].c_str(), args[1].c_str(), kStationHelp);
        return kExitStationUsage;
    }
    // A write to a connection the product closed must not end the station with SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    InstanceLock lock;
    if (lock.acquire() == InstanceLock::Result::HeldElsewhere) {
        std::fprintf(stderr, "[error]\n%s\n", kAlreadyRunningText);
        return kExitAlreadyRunning;
    }
    ConsoleOptions console;
    console.out = stderr;
    console.answerPolicy = AnswerPolicy::No;
    ConsoleDialog dialog(console);
    MainWindow window(dialog, systemClock(), platformTone(), args);
    Station host(window, dialog);
    window.station = &host;
    window.initDialog();
    return window.lastResultCode >= 0 ? window.lastResultCode : kExitNoResult;
}

}  // namespace tarnwick
