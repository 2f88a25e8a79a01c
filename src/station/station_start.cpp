// A station's process: the station argument, the locks and the main window on the console,
// whose few boxes go to standard error.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "window/console_dialog.h"
#include "window/main_window.h"
#include "window/start_window.h"
#include "station/station.h"
#include "station/station_start.h"
#include "station/station_argument.h"
#include "platform/broken_pipe.h"
#include "platform/instance_lock.h"
#include "platform/station_lock.h"
#include "platform/stop_signals.h"
#include "history/history_place.h"
#include "history/sqlite_history.h"

namespace tarnwick {

namespace {
constexpr int kExitNoResult = 12;
constexpr int kExitStopped = 130;

bool stopAsked(const void* stop) { return static_cast<const StopSignals*>(stop)->requested() != 0; }

// The single-instance lock of a lone station: taken at once, or queued for with --wait.
// A station that a line runner started runs under the line's lock instead; should nobody
// hold that lock (the mark set by hand), the station takes it as a lone one would.
int takeInstanceLock(InstanceLock& lock, const StationOptions& options, const StopSignals& stop) {
    if (std::getenv(kLineStationVariable) != nullptr) {
        static_cast<void>(lock.acquire());
        return 0;
    }
    const InstanceLock::Result r =
        options.wait ? lock.acquireWaiting(options.waitSeconds, stopAsked, &stop) : lock.acquire();
    if (r == InstanceLock::Result::Acquired) return 0;
    if (r == InstanceLock::Result::Unavailable) {
        std::fprintf(stderr, "tarnwick: the single-instance lock cannot be taken (%s); not running.\n",
                     lock.reason().c_str());
        return kExitBusy;
    }
    if (stop.requested() != 0) return kExitStopped;
    std::fprintf(stderr, "[error]\n%s\n", kAlreadyRunningText);
    std::fprintf(stderr, "tarnwick: busy: another copy holds %s; try again later, or queue with --wait.\n",
                 instanceLockPath(lockDirectory()).c_str());
    return kExitBusy;
}

int takeStationLock(StationLock& lock, int number) {
    const StationLock::Result r = lock.acquire(number);
    if (r == StationLock::Result::Acquired) return 0;
    if (r == StationLock::Result::Unavailable) {
        std::fprintf(stderr, "tarnwick: the lock of station %02d cannot be taken (%s); not running.\n", number,
                     lock.reason().c_str());
    } else {
        std::fprintf(stderr, "tarnwick: busy: station %02d is running already.\n", number);
    }
    return kExitBusy;
}


constexpr const char* kStationHelp =
    "Usage: tarnwick /NN [--wait[=SECONDS]] [--help]\n"
    "  Runs production-line station NN (01..20): it takes its package, port and modes from the\n"
    "  station's information file, writes its product, and leaves its status and result in\n"
    "  the station's slot for the line's monitor (`tarnwick monitor`). Nothing is asked.\n"
    "  --wait[=SECONDS]  Queues for the single-instance guard (at most SECONDS) instead of\n"
    "                    exiting with status 75 while another copy holds it.\n"
    "  --help  Shows this text; the station is not started.\n";
}  // namespace

int startStation(const std::vector<std::string>& args) {
    const StationArgument station = parseStationArgument(args.empty() ? std::string() : args.front());
    StationOptions options;
    std::string problem;
    if (station.accepted() && args.size() == 2 && args[1] == "--help") {
        std::fputs(kStationHelp, stdout);
        return 0;
    }
    if (!station.accepted() || !parseStationOptions(args, options, problem)) {
        std::fprintf(stderr, "%s\n%s", station.accepted() ? problem.c_str() : station.refusal.c_str(),
                     station.accepted() ? kStationHelp : "");
        return kExitStationUsage;
    }
    StopSignals stop;  // before any other thread: SIGTERM, SIGINT and SIGHUP end the run honestly
    // A write to a connection the product closed must not end the station.
    keepRunningOnBrokenPipe();
    InstanceLock lock;
    if (const int refused = takeInstanceLock(lock, options, stop); refused != 0) return refused;
    StationLock own;
    if (const int refused = takeStationLock(own, station.number); refused != 0) return refused;
    ConsoleOptions console;
    console.out = stderr;
    console.answerPolicy = AnswerPolicy::No;
    ConsoleDialog dialog(console);
    MainWindow window(dialog, systemClock(), platformTone(), {args.front()});
    Station host(window, dialog);
    host.stopSignals = &stop;
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
