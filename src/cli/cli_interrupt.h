// Ctrl-C, SIGTERM and SIGHUP on the command line. Outside the writes the command ends at once
// (status 130). While the product is being written the first one only warns that stopping
// leaves the product in update mode and that a later run will offer the recovery update;
// a second within 5 seconds ends the command. However it ends, the component files of the
// work directory go; the single-instance lock goes with the process.
//
// The requests are taken by the platform's watcher (StopSignals), so the run's waits and
// reads never see an interrupted call.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/stop_signals.h"
#include "update/update_observer.h"

namespace tarnwick {

constexpr int kExitInterrupted = 130;

class InterruptGuard final : public UpdateObserver {
public:
    // workDir: where the command's component files are made.
    InterruptGuard(std::FILE* err, const std::string& workDir);
    ~InterruptGuard() override;
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    // The writes begin with a component's "Updating start..." and end with the result.
    void statusShown(uint8_t targetId, const std::string& text, int showProgress, int percent) override;
    void resultReported(int code, const std::string& text) override;

    bool writing() const { return writing_; }
    // What runs on the guard's thread just before the command ends on a signal (the
    // history records the run as interrupted); null for nothing.
    void setBeforeExit(std::function<void()> action);

private:
    void stopAsked();
    void endNow();

    std::FILE* err_;
    std::string workDir_;
    std::vector<std::string> workFiles_;
    std::atomic<bool> writing_{false};
    std::mutex beforeExitMutex_;
    std::function<void()> beforeExit_;
    bool warned_ = false;  // these two only on the watcher
    std::chrono::steady_clock::time_point warnedAt_;
    StopSignals stops_;  // last: it starts watching when everything above is ready
};

}  // namespace tarnwick
