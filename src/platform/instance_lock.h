// The single-instance guard: an exclusive flock on "Tarnwick.exe.lock" in $XDG_RUNTIME_DIR
// (or /tmp when that is unset or unusable). The kernel drops the lock when its descriptor
// is closed, so it is released however the program ends, a crash included.
// On Windows it is the named mutex "Tarnwick.exe", which Windows likewise removes with the
// last handle: path() is then the mutex's name, instanceLockPath() names it for messages
// and lockDirectory() is empty.
#pragma once
#include <string>

#include "platform/native_handle.h"

namespace tarnwick {

class InstanceLock {
public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock. HeldElsewhere when another instance holds it; Unavailable when no
    // lock file could be opened in either directory (reason() says why; the caller refuses
    // the run, as a guard that cannot be taken guards nothing).
    Result acquire();
    // As acquire(), but waits while another instance holds the lock: up to `seconds`, or
    // without limit for a negative count. Gives up early, with HeldElsewhere, once
    // `giveUp` returns true (a stop asked while queued).
    [[nodiscard]] Result acquireWaiting(int seconds, bool (*giveUp)(const void*), const void* context);
    void release();
    bool held() const { return fd_ != kNoHandle; }
    // The lock file that acquire() used, empty before.
    const std::string& path() const { return path_; }
    // Why the last acquire() gave Unavailable.
    const std::string& reason() const { return reason_; }

private:
    Result tryDirectory(const std::string& dir);

    NativeHandle fd_ = kNoHandle;
    std::string path_;
    std::string reason_;
};

// The lock file inside a directory.
std::string instanceLockPath(const std::string& dir);

// Where the locks live: $XDG_RUNTIME_DIR when it names a writable directory, else /tmp.
std::string lockDirectory();

}  // namespace tarnwick
