#include "platform/machine_name.h"

#include <unistd.h>

#include <array>

namespace tarnwick {

std::string machineName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return std::string();
    return name.data();
}

}  // namespace tarnwick
