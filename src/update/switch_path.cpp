#include "update/switch_path.h"

#include "package/line_reader.h"

namespace tarnwick {

uint8_t switchPathPair(const std::string& path, size_t offset) {
    if (offset >= path.size()) return 0;
    return static_cast<uint8_t>(hexValue(std::string_view(path).substr(offset, 2)) & 0xFFu);
}

bool planSwitchHops(const std::string& path, uint8_t fromId, uint8_t toId, std::vector<SwitchHop>& hops) {
    hops.clear();
    const long length = static_cast<long>(path.size());
    uint8_t last = 0;
    long remembered = 0;
    for (long offset = 0; offset < length; offset += 2) {
        last = switchPathPair(path, static_cast<size_t>(offset));
        if (last == fromId) remembered = offset;
    }
    if (last != toId) return false;
    if (remembered == 0) fromId = 1;
    for (long offset = remembered; offset < length - 2;) {
        const uint8_t a = switchPathPair(path, static_cast<size_t>(offset));
        offset += 2;
        const uint8_t b = switchPathPair(path, static_cast<size_t>(offset));
        if (a != fromId) continue;
        hops.push_back({a, b});
        fromId = b;
    }
    return true;
}

}  // namespace tarnwick
