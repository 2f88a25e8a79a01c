#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace tarnwick {

namespace {
constexpr const char* kLockName = "Tarnwick.exe.lock";
constexpr const char* kFallbackDir = "/tmp";
}  // namespace

std::string instanceLockPath(const std::string& dir) {
    if (!dir.empty() && dir.back() == '/') return dir + kLockName;
    return dir + "/" + kLockName;
}

InstanceLock::~InstanceLock() { release(); }

InstanceLock::Result InstanceLock::tryDirectory(const std::string& dir) {
    const std::string path = instanceLockPath(dir);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        reason_ = "cannot create the lock file " + path + ": " + std::strerror(errno);
        return Result::Unavailable;
    }
    int r;
    do {
        r = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        const bool busy = errno == EWOULDBLOCK;
        if (!busy) reason_ = "cannot lock " + path + ": " + std::strerror(errno);
        ::close(fd);
        return busy ? Result::HeldElsewhere : Result::Unavailable;
    }
    fd_ = fd;
    path_ = path;
    return Result::Acquired;
}

InstanceLock::Result InstanceLock::acquire() {
    if (held()) return Result::Acquired;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        const Result r = tryDirectory(runtime);
        if (r != Result::Unavailable) return r;
    }
    return tryDirectory(kFallbackDir);
}

InstanceLock::Result InstanceLock::acquireWaiting(int seconds, bool (*giveUp)(const void*), const void* context) {
    constexpr auto kPoll = std::chrono::milliseconds(100);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds < 0 ? 0 : seconds);
    for (;;) {
        const Result r = acquire();
        if (r != Result::HeldElsewhere) return r;
        if (seconds >= 0 && std::chrono::steady_clock::now() >= deadline) return r;
        if (giveUp != nullptr && giveUp(context)) return r;
        std::this_thread::sleep_for(kPoll);
    }
}

std::string lockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0' && ::access(runtime, W_OK | X_OK) == 0) return runtime;
    return kFallbackDir;
}

void InstanceLock::release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace tarnwick
