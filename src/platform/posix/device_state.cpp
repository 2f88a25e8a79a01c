#include "platform/device_state.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>

namespace tarnwick {

namespace {

DeviceState stateOfOpenError(int error) {
    switch (error) {
        case ENOENT: case ENXIO: case ENODEV: return DeviceState::Missing;
        case EACCES: case EPERM: return DeviceState::Denied;
        case EBUSY: return DeviceState::Busy;
        default: return DeviceState::Failed;
    }
}

std::string linkTarget(const std::string& path) {
    char buf[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf - 1);
    return n < 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

bool isNumber(const char* text) {
    if (*text == '\0') return false;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') return false;
    }
    return true;
}

// Whether one of the process's descriptors names the device.
bool holds(const std::string& pid, const std::string& device) {
    const std::string fdDir = "/proc/" + pid + "/fd";
    DIR* dir = opendir(fdDir.c_str());
    if (dir == nullptr) return false;
    bool found = false;
    while (dirent* entry = readdir(dir)) {
        if (isNumber(entry->d_name) && linkTarget(fdDir + "/" + entry->d_name) == device) found = true;
    }
    closedir(dir);
    return found;
}

std::string processName(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

}  // namespace

DeviceProbe probeSerialDevice(const std::string& path) {
    DeviceProbe probe;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        probe.osError = errno;
        probe.state = stateOfOpenError(probe.osError);
    } else if (!isatty(fd)) {
        probe.osError = ENOTTY;
        probe.state = DeviceState::NotSerial;
    } else if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        probe.osError = errno;
        probe.state = probe.osError == EWOULDBLOCK ? DeviceState::Busy : DeviceState::Failed;
    } else {
        probe.state = DeviceState::Free;
    }
    if (fd >= 0) ::close(fd);
    if (probe.state == DeviceState::Busy) probe.holder = deviceHolder(path);
    return probe;
}

std::string deviceHolder(const std::string& path) {
    char real[PATH_MAX];
    if (realpath(path.c_str(), real) == nullptr) return "";
    const std::string self = std::to_string(getpid());
    std::string holder;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return "";
    while (dirent* entry = readdir(proc)) {
        if (!holder.empty() || !isNumber(entry->d_name) || self == entry->d_name) continue;
        if (holds(entry->d_name, real)) holder = std::string(entry->d_name) + " (" + processName(entry->d_name) + ")";
    }
    closedir(proc);
    return holder;
}

}  // namespace tarnwick
