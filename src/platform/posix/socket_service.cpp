#include "platform/socket_service.h"

#include <csignal>

namespace tarnwick {

bool startSocketService() { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }

}  // namespace tarnwick
