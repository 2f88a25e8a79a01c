#include "platform/machine_name.h"

#include <winsock2.h>
#include <windows.h>

#include <array>

namespace tarnwick {

// The DNS host name, as gethostname gives it elsewhere; no socket service is needed for it.
std::string machineName() {
    std::array<char, 256> name{};
    DWORD size = static_cast<DWORD>(name.size());
    if (GetComputerNameExA(ComputerNameDnsHostname, name.data(), &size) == 0) return std::string();
    return std::string(name.data(), size);
}

}  // namespace tarnwick
