// Stop requests for a run that must end honestly: Ctrl-C, a request to terminate, a closed
// terminal or console. A watcher of the platform's own takes them; the run's threads never
// see an interrupted call. The run looks at the record between frames and ends itself
// there, so no frame is cut in half and no slot or log is left half written. Construct
// before any other thread.
#pragma once
#include <atomic>
#include <functional>
#include <memory>

namespace tarnwick {

class StopSignals {
public:
    // Called on the watcher for every request, with its signal number.
    using Listener = std::function<void(int signal)>;

    StopSignals();
    // Also tells onEach of every request: a command that warns at the first Ctrl-C and
    // ends at the second needs each one.
    explicit StopSignals(Listener onEach);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked for the stop, 0 while none came.
    int requested() const { return signal_.load(); }

private:
    void take(int signal);  // on the watcher: records the first request, tells the listener

    std::atomic<int> signal_{0};
    Listener onEach_;
    struct Watch;  // the platform's watcher and what it restores when watching ends
    std::unique_ptr<Watch> watch_;
};

// The name of a stop request for messages: "SIGTERM", "SIGINT", "SIGHUP" ("Ctrl-C",
// "Ctrl-Break", "console closed" on Windows).
const char* stopSignalName(int signal);

}  // namespace tarnwick
