#include "platform/socket_service.h"

#include "platform/win32/winsock_service.h"

namespace tarnwick {

bool startSocketService() { return startSockets(); }

}  // namespace tarnwick
