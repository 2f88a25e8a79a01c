#include "platform/win32/last_error_text.h"

#include <winsock2.h>
#include <windows.h>

namespace tarnwick {

std::string lastErrorText(unsigned long code) {
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   sizeof text, nullptr);
    std::string why(text, n);
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == '.')) why.pop_back();
    return why.empty() ? "error " + std::to_string(code) : why;
}

}  // namespace tarnwick
