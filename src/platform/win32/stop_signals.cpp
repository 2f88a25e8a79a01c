#include "platform/stop_signals.h"

#include <winsock2.h>
#include <windows.h>

#include <csignal>
#include <mutex>
#include <vector>

namespace tarnwick {

namespace {

// The console's events as the numbers the POSIX side reports for the same requests.
constexpr int kCtrlC = SIGINT;
constexpr int kCtrlBreak = SIGTERM;  // what the line sends each of its stations
constexpr int kConsoleClosed = 1;    // the number of a hang-up elsewhere

int signalOf(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT: return kCtrlC;
    case CTRL_BREAK_EVENT: return kCtrlBreak;
    default: return kConsoleClosed;  // the window closed, the user logged off, the system shuts down
    }
}

}  // namespace

// The console calls its handlers on a thread of their own: that thread is the watcher.
struct StopSignals::Watch {
    explicit Watch(StopSignals& owner) : owner(owner) {}
    StopSignals& owner;

    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<Watch*>& active() {
        static std::vector<Watch*> list;
        return list;
    }

    static BOOL WINAPI onConsoleEvent(DWORD event) {
        {
            const std::lock_guard<std::mutex> lock(mutex());
            for (Watch* w : active()) w->owner.take(signalOf(event));
        }
        // When this handler returns on a closing console the process is ended: wait here
        // so that the run ends itself first, within the time the system gives it.
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) Sleep(INFINITE);
        return TRUE;
    }
};

StopSignals::StopSignals() : StopSignals(Listener()) {}

StopSignals::StopSignals(Listener onEach) : onEach_(std::move(onEach)), watch_(std::make_unique<Watch>(*this)) {
    const std::lock_guard<std::mutex> lock(Watch::mutex());
    if (Watch::active().empty()) {
        SetConsoleCtrlHandler(nullptr, FALSE);  // a station of the line starts with Ctrl-C turned off
        SetConsoleCtrlHandler(&Watch::onConsoleEvent, TRUE);
    }
    Watch::active().push_back(watch_.get());
}

StopSignals::~StopSignals() {
    const std::lock_guard<std::mutex> lock(Watch::mutex());
    std::vector<Watch*>& list = Watch::active();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (*it == watch_.get()) {
            list.erase(it);
            break;
        }
    }
    if (list.empty()) SetConsoleCtrlHandler(&Watch::onConsoleEvent, FALSE);
}

void StopSignals::take(int signal) {
    int none = 0;
    signal_.compare_exchange_strong(none, signal);  // the first request is the one reported
    if (onEach_) onEach_(signal);
}

const char* stopSignalName(int signal) {
    switch (signal) {
    case kCtrlC: return "Ctrl-C";
    case kCtrlBreak: return "Ctrl-Break";
    case kConsoleClosed: return "console closed";
    default: return "a signal";
    }
}

}  // namespace tarnwick
