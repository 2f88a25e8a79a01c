#include "platform/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace tarnwick {

bool isTerminal(std::FILE* stream) { return stream != nullptr && isatty(fileno(stream)) == 1; }

size_t terminalColumns(std::FILE* stream) {
    winsize size{};
    if (stream == nullptr || ioctl(fileno(stream), TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

}  // namespace tarnwick
