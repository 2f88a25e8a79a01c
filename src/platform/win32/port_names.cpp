#include "platform/port_names.h"

namespace tarnwick {

namespace {
constexpr const char* kDevicePrefix = "\\\\.\\";
}

// Any COM port the system may have, listed or not: a port that is not there fails to open
// with its own reason.
std::string deviceOfPortNumber(int number) {
    return number > 0 && number <= kMaxPortNumber ? "COM" + std::to_string(number) : std::string();
}

std::string portNameOf(size_t, const std::string& devicePath) {
    const std::string prefix = kDevicePrefix;
    return devicePath.compare(0, prefix.size(), prefix) == 0 ? devicePath.substr(prefix.size()) : devicePath;
}

}  // namespace tarnwick
