#include "platform/directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {

std::string makeOwnDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return std::strerror(errno);
    return {};
}

DirectoryFacts directoryFacts(const std::string& path) {
    DirectoryFacts facts;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
        facts.unreadable = std::strerror(errno);
        return facts;
    }
    facts.link = S_ISLNK(st.st_mode);
    facts.directory = S_ISDIR(st.st_mode);
    if (st.st_uid != geteuid()) facts.otherOwner = static_cast<long>(st.st_uid);
    facts.othersMayWrite = (st.st_mode & S_IWOTH) != 0;
    facts.groupMayWrite = (st.st_mode & S_IWGRP) != 0;
    return facts;
}

// The directory itself is locked: no lock file among the component files. Its descriptor
// stays open, and the lock held, until the process ends.
DirectoryLock lockDirectoryForProcess(const std::string& path, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return DirectoryLock::Unopened;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return DirectoryLock::Locked;
    const int cause = errno;
    ::close(fd);
    if (cause == EWOULDBLOCK) return DirectoryLock::Busy;
    why = std::strerror(cause);
    return DirectoryLock::Failed;
}

}  // namespace tarnwick
