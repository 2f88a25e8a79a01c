#include "platform/stop_signals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace tarnwick {

namespace {

constexpr int kStopWatching = SIGUSR2;  // the watcher's own request to end

// SIGHUP too: a closed terminal or SSH session is a stop like any other.
sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, kStopWatching}) sigaddset(&set, s);
    return set;
}

}  // namespace

// The signals are blocked in every thread made after this one and taken by sigwait.
struct StopSignals::Watch {
    sigset_t saved{};
    std::thread thread;
};

StopSignals::StopSignals(Listener onEach) : onEach_(std::move(onEach)), watch_(std::make_unique<Watch>()) {
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, &watch_->saved);
    watch_->thread = std::thread([this, set] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0 || signal == kStopWatching) return;
            take(signal);
        }
    });
}

StopSignals::~StopSignals() {
    pthread_kill(watch_->thread.native_handle(), kStopWatching);
    watch_->thread.join();
    pthread_sigmask(SIG_SETMASK, &watch_->saved, nullptr);
}

const char* stopSignalName(int signal) {
    switch (signal) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    case SIGHUP: return "SIGHUP";
    default: return "a signal";
    }
}

}  // namespace tarnwick
