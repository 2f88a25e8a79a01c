#include "sim_sockets.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick::sim {

namespace {

int bound(int type, const std::string& address, uint16_t port, std::string& error) {
    sockaddr_in at{};
    if (!socketAddress(address, port, at)) {
        error = "not an IPv4 address: " + address;
        return -1;
    }
    int fd = ::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
        error = address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool socketAddress(const std::string& address, uint16_t port, sockaddr_in& out) {
    out = sockaddr_in{};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    return inet_pton(AF_INET, address.c_str(), &out.sin_addr) == 1;
}

int bindUdp(const std::string& address, uint16_t port, std::string& error) {
    return bound(SOCK_DGRAM, address, port, error);
}

int listenTcp(const std::string& address, uint16_t port, std::string& error) {
    int fd = bound(SOCK_STREAM, address, port, error);
    if (fd >= 0 && ::listen(fd, 4) != 0) {
        error = std::string("listen: ") + std::strerror(errno);
        closeFd(fd);
    }
    return fd;
}

uint16_t boundPort(int fd) {
    sockaddr_in at{};
    socklen_t length = sizeof at;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) != 0) return 0;
    return ntohs(at.sin_port);
}

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace tarnwick::sim
