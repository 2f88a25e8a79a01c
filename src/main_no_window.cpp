// Start-up without a window toolkit: only the command-line front end is available.
#include "window/start_window.h"

#include <cstdio>

#include "cli/command_line.h"

namespace tarnwick {

int startWindow(int, char**) {
    std::fprintf(stderr, "tarnwick: this build has no window; use a command.\n%s", usageText().c_str());
    return kExitUsage;
}

}  // namespace tarnwick
