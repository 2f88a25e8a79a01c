// The product's address as the command line takes it.
#include <cstdlib>

#include "cli/cli_commands.h"

namespace tarnwick {

namespace {

// A decimal number of 1..digits digits no greater than max.
bool decimalUpTo(const std::string& text, size_t digits, unsigned long max, unsigned long& value) {
    if (text.empty() || text.size() > digits) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    value = std::strtoul(text.c_str(), nullptr, 10);
    return value <= max;
}

}  // namespace

bool parseIpAddress(const std::string& text, std::array<uint8_t, 4>& address) {
    size_t start = 0;
    for (size_t k = 0; k < address.size(); ++k) {
        const size_t dot = k + 1 < address.size() ? text.find('.', start) : text.size();
        if (dot == std::string::npos) return false;
        unsigned long value = 0;
        if (!decimalUpTo(text.substr(start, dot - start), 3, 255, value)) return false;
        address[k] = static_cast<uint8_t>(value);
        start = dot + 1;
    }
    return true;
}

}  // namespace tarnwick
