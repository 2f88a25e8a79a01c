#include "platform/broken_pipe.h"

#include <csignal>

namespace tarnwick {

void keepRunningOnBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace tarnwick
