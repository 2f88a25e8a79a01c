#include <cstdio>

#include "platform/file_digest.h"

namespace tarnwick {

std::string hexOf(const unsigned char* bytes, size_t count) {
    std::string hex;
    hex.reserve(count * 2);
    char two[3];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(two, sizeof two, "%02x", bytes[i]);
        hex += two;
    }
    return hex;
}

}  // namespace tarnwick
