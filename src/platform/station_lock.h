// One station's own lock: "Tarnwick.stationNN.lock" beside the single-instance lock. A
// station process holds it for its whole run, so a monitor can tell a slot whose station
// is running from one whose station is gone, and a line runner never starts a station
// twice. It is an open-file-description lock, which the kernel drops with the process and
// which a reader can test without taking it.
// On Windows it is the named mutex "Tarnwick.exe.StationNN", owned by the station's main
// thread; stationLockPath() gives its name, and a reader looks whether it exists.
#pragma once
#include <string>

#include "platform/native_handle.h"

namespace tarnwick {

class StationLock {
public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    StationLock() = default;
    ~StationLock();
    StationLock(const StationLock&) = delete;
    StationLock& operator=(const StationLock&) = delete;

    [[nodiscard]] Result acquire(int stationNumber);
    const std::string& reason() const { return reason_; }

private:
    NativeHandle fd_ = kNoHandle;
    std::string reason_;
};

// The lock file of a station in the lock directory.
std::string stationLockPath(int stationNumber);

// True while some process holds station n's lock. Never takes it.
bool stationRunning(int stationNumber);

}  // namespace tarnwick
