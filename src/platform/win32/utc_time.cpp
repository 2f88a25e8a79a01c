#include "platform/utc_time.h"

#include <ctime>

namespace tarnwick {

std::string utcNowText(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_s(&utc, &now);
    char text[64];
    return std::strftime(text, sizeof text, format, &utc) > 0 ? std::string(text) : std::string();
}

}  // namespace tarnwick
