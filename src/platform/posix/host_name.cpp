#include "platform/host_name.h"

#include <unistd.h>

#include <array>

namespace tarnwick {

std::string hostName() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) return std::string();
    return name.data();
}

}  // namespace tarnwick
