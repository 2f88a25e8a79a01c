#include "platform/os_error_text.h"

#include <string>

#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {

std::string systemMessage(DWORD code, DWORD language) {
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, language,
                                   text, sizeof text, nullptr);
    std::string message(text, n < sizeof text ? n : 0);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) message.pop_back();
    return message;
}

}  // namespace

// In English like the program's other texts when the system has it, else in its own language.
std::string osErrorText(int code) {
    const DWORD error = static_cast<DWORD>(code);
    std::string message = systemMessage(error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (message.empty()) message = systemMessage(error, 0);
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace tarnwick
