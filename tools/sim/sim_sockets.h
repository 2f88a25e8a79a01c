// Loopback sockets of the simulated product's network side.
#pragma once
#include <netinet/in.h>

#include <cstdint>
#include <string>

namespace tarnwick::sim {

// address:port as a socket address; false for an address that is not dotted decimal.
bool socketAddress(const std::string& address, uint16_t port, sockaddr_in& out);
// A UDP socket bound to address:port (0: any free port); -1 with error set on failure.
int bindUdp(const std::string& address, uint16_t port, std::string& error);
// A TCP socket listening on address:port; -1 with error set on failure.
int listenTcp(const std::string& address, uint16_t port, std::string& error);
// The port a socket is bound to (0 on failure).
uint16_t boundPort(int fd);
// Closes fd when it is open and sets it to -1.
void closeFd(int& fd);

}  // namespace tarnwick::sim
