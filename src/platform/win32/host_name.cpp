#include "platform/host_name.h"

#include <windows.h>

#include <array>

namespace tarnwick {

std::string hostName() {
    std::array<char, MAX_COMPUTERNAME_LENGTH + 1> name{};
    DWORD size = static_cast<DWORD>(name.size());
    if (GetComputerNameA(name.data(), &size) == 0) return std::string();
    return std::string(name.data(), size);
}

}  // namespace tarnwick
