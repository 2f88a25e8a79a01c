// A station's process: the station argument, the single-instance lock and the main window
// on the console, whose few boxes go to standard error.
#include <csignal>
#include <cstdio>
#include <memory>

#include "window/console_dialog.h"
#include "window/main_window.h"
#include "window/start_window.h"
#include "station/station.h"
#include "station/station_start.h"
#include "station/station_argument.h"
#include "platform/posix/instance_lock.h"
#include "history/history_place.h"
#include "history/sqlite_history.h"

namespace tarnwick {

namespace {
constexpr int kExitAlreadyRunning = 1;
constexpr int kExitNoResult = 12;
}  // namespace

int startStation(const std::vector<std::string>& args) {
    const StationArgument station = parseStationArgument(args.empty() ? std::string() : args.front());
    if (!station.accepted()) {
        std::fprintf(stderr, "%s\n", station.refusal.c_str());
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
    // The stations of a line record into one file in the program directory.
    const std::unique_ptr<HistoryStore> history = openHistoryForRuns(historyFilePath("", false, true));
    window.history = history.get();
    char frontEnd[16];
    std::snprintf(frontEnd, sizeof frontEnd, "station %02d", station.number);
    window.frontEnd = frontEnd;
    window.station = &host;
    window.initDialog();
    return window.lastResultCode >= 0 ? window.lastResultCode : kExitNoResult;
}

}  // namespace tarnwick
