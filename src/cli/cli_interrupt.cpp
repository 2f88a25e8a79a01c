#include "cli/cli_interrupt.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>

#include "package/update_package.h"
#include "package/work_directory.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {

constexpr auto kSecondPressWindow = std::chrono::seconds(5);
constexpr int kStopWatching = SIGUSR2;  // the guard's own request to its thread

constexpr const char* kWarning =
    "\ntarnwick: the product is being written. Stopping now leaves it in update mode; a later run will offer the "
    "recovery update.\nPress Ctrl-C again within 5 seconds to stop anyway.\n";

sigset_t guardedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);  // a closed terminal or SSH session is a stop like any other
    sigaddset(&set, kStopWatching);
    return set;
}

}  // namespace

InterruptGuard::InterruptGuard(std::FILE* err, const std::string& workDir) : err_(err), workDir_(workDir) {
    for (const char* prefix : {kFirmDataPrefix, kVerifyDataPrefix}) {
        for (int p = 0; p < kMaxComponents; ++p) workFiles_.push_back(workFilePath(workDir, prefix, p));
    }
    const sigset_t set = guardedSignals();
    pthread_sigmask(SIG_BLOCK, &set, &previousMask_);
    watcher_ = std::thread([this] { watch(); });
}

InterruptGuard::~InterruptGuard() {
    pthread_kill(watcher_.native_handle(), kStopWatching);
    watcher_.join();
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

void InterruptGuard::statusShown(uint8_t, const std::string& text, int, int) {
    if (text == "Updating start...") writing_ = true;
}

void InterruptGuard::resultReported(int, const std::string&) { writing_ = false; }

void InterruptGuard::setBeforeExit(std::function<void()> action) {
    const std::lock_guard<std::mutex> lock(beforeExitMutex_);
    beforeExit_ = std::move(action);
}

void InterruptGuard::watch() {
    const sigset_t set = guardedSignals();
    bool warned = false;
    std::chrono::steady_clock::time_point warnedAt;
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || signal == kStopWatching) return;
        const auto now = std::chrono::steady_clock::now();
        if (!writing_ || (warned && now - warnedAt <= kSecondPressWindow)) endNow();
        warned = true;
        warnedAt = now;
        std::fputs(kWarning, err_);
        std::fflush(err_);
    }
}

// Leaves no component file behind and ends the process without unwinding the run.
void InterruptGuard::endNow() {
    // A work directory another copy holds keeps its files: they are that copy's run.
    if (holdsWorkDirectory(workDir_)) {
        for (const std::string& path : workFiles_) unlink(path.c_str());
    }
    {
        const std::lock_guard<std::mutex> lock(beforeExitMutex_);
        if (beforeExit_) beforeExit_();
    }
    std::fputs("\ntarnwick: interrupted.\n", err_);
    std::fflush(err_);
    _exit(kExitInterrupted);
}

}  // namespace tarnwick
