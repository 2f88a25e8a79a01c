#include "platform/serial_candidates.h"

namespace tarnwick {

std::string serialDevicePath(int portIndex) {
    if (portIndex < 0) return "";
    auto paths = serialDeviceCandidates();
    if (static_cast<size_t>(portIndex) >= paths.size()) return "";
    return paths[static_cast<size_t>(portIndex)];
}

}  // namespace tarnwick
