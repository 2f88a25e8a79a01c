#include "platform/station_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/instance_lock.h"

namespace tarnwick {

namespace {
struct flock wholeFile(short type) {
    struct flock l {};
    l.l_type = type;
    l.l_whence = SEEK_SET;
    return l;
}
}  // namespace

std::string stationLockPath(int stationNumber) {
    char name[40];
    std::snprintf(name, sizeof name, "Tarnwick.station%02d.lock", stationNumber);
    const std::string dir = lockDirectory();
    return (!dir.empty() && dir.back() == '/') ? dir + name : dir + "/" + name;
}

StationLock::~StationLock() {
    if (fd_ >= 0) ::close(fd_);
}

StationLock::Result StationLock::acquire(int stationNumber) {
    const std::string path = stationLockPath(stationNumber);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        reason_ = "cannot create the lock file " + path + ": " + std::strerror(errno);
        return Result::Unavailable;
    }
    struct flock l = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_OFD_SETLK, &l) != 0) {
        const bool busy = errno == EAGAIN || errno == EACCES;
        if (!busy) reason_ = "cannot lock " + path + ": " + std::strerror(errno);
        ::close(fd);
        return busy ? Result::HeldElsewhere : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Acquired;
}

bool stationRunning(int stationNumber) {
    const int fd = ::open(stationLockPath(stationNumber).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct flock l = wholeFile(F_WRLCK);
    const bool held = ::fcntl(fd, F_OFD_GETLK, &l) == 0 && l.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

}  // namespace tarnwick
