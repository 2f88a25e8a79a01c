// The single-instance guard: an exclusive flock on "Tarnwick.exe.lock" in $XDG_RUNTIME_DIR
// (or /tmp when that is unset or unusable). The kernel drops the lock when its descriptor
// is closed, so it is released however the program ends, a crash included.
#pragma once
#include <string>

namespace tarnwick {

class InstanceLock {
public:
    enum class Result { Acquired, HeldElsewhere, Unavailable };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock. HeldElsewhere when another instance holds it; Unavailable when no
    // lock file could be opened in either directory (the program then runs unguarded).
    Result acquire();
    void release();
    bool held() const { return fd_ >= 0; }
    // The lock file that acquire() used, empty before.
    const std::string& path() const { return path_; }

private:
    Result tryDirectory(const std::string& dir);

    int fd_ = -1;
    std::string path_;
};

// The lock file inside a directory.
std::string instanceLockPath(const std::string& dir);

}  // namespace tarnwick
