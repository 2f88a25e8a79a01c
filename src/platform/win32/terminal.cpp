#include "platform/terminal.h"

#include <winsock2.h>
#include <windows.h>
#include <io.h>

namespace tarnwick {

namespace {
// The console behind stream, or null. _isatty alone also takes the NUL device for one.
HANDLE consoleOf(std::FILE* stream) {
    if (stream == nullptr) return nullptr;
    const int fd = _fileno(stream);
    if (fd < 0 || _isatty(fd) == 0) return nullptr;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0 ? handle : nullptr;
}
}  // namespace

bool isTerminal(std::FILE* stream) { return consoleOf(stream) != nullptr; }

size_t terminalColumns(std::FILE* stream) {
    const HANDLE console = consoleOf(stream);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (console == nullptr || GetConsoleScreenBufferInfo(console, &info) == 0) return 0;
    const int width = info.srWindow.Right - info.srWindow.Left + 1;
    return width > 0 ? static_cast<size_t>(width) : 0;
}

}  // namespace tarnwick
