#include "update/serial/switch_path.h"

namespace tarnwick {

namespace {
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

uint8_t switchPathPair(const std::string& path, size_t offset) {
    unsigned value = 0;
    for (size_t i = offset; i < offset + 2 && i < path.size(); ++i) {
        const int d = hexDigit(path[i]);
        if (d < 0) break;
        value = value * 16 + static_cast<unsigned>(d);
    }
    return static_cast<uint8_t>(value);
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
