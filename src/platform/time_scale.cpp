#include "platform/clock.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tarnwick {

// Read with from_chars: a decimal point whatever the locale the window toolkit set.
double parseTimeScale(const char* text) {
    if (text == nullptr || *text == '\0') return 1.0;
    const char* end = text + std::strlen(text);
    double v = 0.0;
    const std::from_chars_result r = std::from_chars(text, end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v) || v < 0.0) return 1.0;
    return v;
}

}  // namespace tarnwick
