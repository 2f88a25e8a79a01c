// Stop requests by signal for a run that must end honestly: SIGINT, SIGTERM and SIGHUP are
// blocked in every thread and taken by a thread of their own, which only records which one
// came. The run looks at the record between frames and ends itself there, so no frame is
// cut in half and no slot or log is left half written. Construct before any other thread.
#pragma once
#include <atomic>
#include <memory>
#include <thread>


namespace tarnwick {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked for the stop, 0 while none came.
    int requested() const { return signal_.load(); }

private:
    void watch();

    std::atomic<int> signal_{0};
    struct Saved;  // what the platform restores when watching ends
    std::unique_ptr<Saved> saved_;
    std::thread watcher_;
};

// "SIGTERM", "SIGINT", "SIGHUP", or "signal N".
const char* stopSignalName(int signal);

}  // namespace tarnwick
