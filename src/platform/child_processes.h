// Programs this one starts and watches while they run side by side: the stations of a
// production line. Each runs with nothing on its standard streams (its own files are its
// record) and takes stop requests as if it had been started by hand.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/native_handle.h"

namespace tarnwick {

class ChildProcesses {
public:
    struct Ended {
        long id;
        int status;  // the exit status, or 128 + the signal that ended it
    };

    ChildProcesses();
    ~ChildProcesses();
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    // Starts program with args (after its own name), with the variable "name=value" in its
    // environment in place of any of that name. The child's id (> 0), or -1 with why.
    [[nodiscard]] long start(const std::string& program, const std::vector<std::string>& args,
                             const std::string& variable, std::string& why);

    // The children that have ended since the last call, with their statuses; never waits.
    std::vector<Ended> reap();

    // Passes a stop request (a signal number as StopSignals reports it) on to every child
    // still running; each ends its run in its own time and is reaped as usual.
    void stopAll(int signal);

private:
    std::map<long, NativeHandle> running_;  // by id: what the platform waits on
};

}  // namespace tarnwick
