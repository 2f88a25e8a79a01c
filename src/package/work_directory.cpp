#include "package/work_directory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

namespace tarnwick {

namespace {

int refuse(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "tarnwick: the work directory %s is not used: %s\n", path.c_str(), why.c_str());
    return 0;
}

// What is wrong with the directory there, empty when nothing is.
std::string judge(const std::string& path, WorkDirRule rule) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return std::strerror(errno);
    if (S_ISLNK(st.st_mode)) return "it is a symbolic link";
    if (!S_ISDIR(st.st_mode)) return "it is not a directory";
    if (st.st_uid != geteuid()) return "it belongs to user " + std::to_string(st.st_uid);
    if ((st.st_mode & S_IWOTH) != 0) return "others may write to it";
    if ((st.st_mode & S_IWGRP) == 0) return {};
    if (rule == WorkDirRule::Private) return "its group may write to it";
    std::fprintf(stderr, "tarnwick: warning: the work directory %s is writable by its group\n", path.c_str());
    return {};
}

// The lock of each work directory this process uses, held until it ends.
std::map<std::string, int>& heldLocks() {
    static std::map<std::string, int> locks;
    return locks;
}

}  // namespace

int prepareWorkDirectory(const std::string& path, WorkDirRule rule) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return refuse(path, std::strerror(errno));
    if (const std::string why = judge(path, rule); !why.empty()) return refuse(path, why);
    if (heldLocks().count(path) != 0) return 1;
    // The directory itself is locked: no lock file among the component files.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return refuse(path, std::string("it cannot be locked: ") + std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return refuse(path, busy ? "another copy of the program is using it" : std::strerror(errno));
    }
    heldLocks()[path] = fd;
    return 1;
}

bool holdsWorkDirectory(const std::string& path) { return heldLocks().count(path) != 0; }

}  // namespace tarnwick
