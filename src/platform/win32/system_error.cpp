#include "platform/win32/system_error.h"

namespace tarnwick {

std::string systemErrorText(DWORD error) {
    char text[256];
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    DWORD n = FormatMessageA(flags, nullptr, error, 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.')) --n;
    if (n == 0) return "error " + std::to_string(error);
    return std::string(text, n);
}

}  // namespace tarnwick
