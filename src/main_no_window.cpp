// Start-up of the headless program: it has no window, only the command line and stations.
#include "window/start_window.h"

#include <cstdio>

#include "cli/command_line.h"

namespace tarnwick {

namespace {
constexpr int kExitNoWindow = 1;
}  // namespace

int startWindow(int, char**) {
    std::fprintf(stderr, "tarnwick: this build has no window; use a command or a station (/NN).\n%s",
                 usageText().c_str());
    return kExitNoWindow;
}

}  // namespace tarnwick
