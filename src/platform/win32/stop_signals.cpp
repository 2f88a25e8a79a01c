#include "platform/stop_signals.h"

#include <winsock2.h>
#include <windows.h>

#include <csignal>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win32/stop_event.h"

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

// The console calls its handlers on a thread of their own; the line's stop event has a
// thread of the watch's own. Either tells every StopSignals of the process.
struct StopSignals::Watch {
    explicit Watch(StopSignals& owner)
        : owner(owner),
          stopEvent(CreateEventA(nullptr, FALSE, FALSE, stopEventName(GetCurrentProcessId()).c_str())),
          quitEvent(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Watch() {
        for (HANDLE h : {stopEvent, quitEvent}) {
            if (h != nullptr) CloseHandle(h);
        }
    }
    StopSignals& owner;
    HANDLE stopEvent;
    HANDLE quitEvent;
    std::thread thread;

    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<Watch*>& active() {
        static std::vector<Watch*> list;
        return list;
    }

    static void deliver(int signal) {
        const std::lock_guard<std::mutex> lock(mutex());
        for (Watch* w : active()) w->owner.take(signal);
    }

    void watchStopEvent() {
        const HANDLE events[2] = {quitEvent, stopEvent};
        while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) deliver(kCtrlBreak);
    }

    static BOOL WINAPI onConsoleEvent(DWORD event) {
        deliver(signalOf(event));
        // When this handler returns on a closing console the process is ended: wait here
        // so that the run ends itself first, within the time the system gives it.
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) Sleep(INFINITE);
        return TRUE;
    }
};

StopSignals::StopSignals(Listener onEach) : onEach_(std::move(onEach)), watch_(std::make_unique<Watch>(*this)) {
    const std::lock_guard<std::mutex> lock(Watch::mutex());
    if (Watch::active().empty()) {
        SetConsoleCtrlHandler(nullptr, FALSE);  // a station of the line starts with Ctrl-C turned off
        SetConsoleCtrlHandler(&Watch::onConsoleEvent, TRUE);
    }
    Watch::active().push_back(watch_.get());
    if (watch_->stopEvent != nullptr && watch_->quitEvent != nullptr) {
        watch_->thread = std::thread([w = watch_.get()] { w->watchStopEvent(); });
    }
}

StopSignals::~StopSignals() {
    if (watch_->thread.joinable()) {
        SetEvent(watch_->quitEvent);
        watch_->thread.join();
    }
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

const char* stopSignalName(int signal) {
    switch (signal) {
    case kCtrlC: return "Ctrl-C";
    case kCtrlBreak: return "Ctrl-Break";
    case kConsoleClosed: return "console closed";
    default: return "a signal";
    }
}

}  // namespace tarnwick
