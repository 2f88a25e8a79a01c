// The sockets service a program starts before it opens any connection: Winsock on Windows;
// on Linux nothing to start, but a write to a connection the product closed must not end
// the program with SIGPIPE.
#pragma once

namespace tarnwick {

// False when the service cannot be had.
[[nodiscard]] bool startSocketService();

}  // namespace tarnwick
