#include "platform/stop_signals.h"

#include <pthread.h>
#include <signal.h>

namespace tarnwick {

namespace {

constexpr int kStopWatching = SIGUSR2;  // the watcher's own request to end

sigset_t watchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, kStopWatching}) sigaddset(&set, s);
    return set;
}

}  // namespace

struct StopSignals::Saved {
    sigset_t mask{};
};

StopSignals::StopSignals() : saved_(std::make_unique<Saved>()) {
    const sigset_t set = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, &saved_->mask);
    watcher_ = std::thread([this] { watch(); });
}

StopSignals::~StopSignals() {
    pthread_kill(watcher_.native_handle(), kStopWatching);
    watcher_.join();
    pthread_sigmask(SIG_SETMASK, &saved_->mask, nullptr);
}

void StopSignals::watch() {
    const sigset_t set = watchedSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || signal == kStopWatching) return;
        int none = 0;
        signal_.compare_exchange_strong(none, signal);  // the first request is the one reported
    }
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
