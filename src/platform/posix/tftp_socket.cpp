#include "platform/tftp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick {

int TftpSocket::open(const char* moduleAddress, uint16_t serverPort) {
    close();
    forgetPeer(moduleAddress);

    in_addr remote{};
    if (inet_pton(AF_INET, address_.data(), &remote) != 1) return 0;
    remoteAddress_ = remote.s_addr;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    fd_ = fd;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return 0;

    if (serverPort == 0) {
        const servent* entry = getservbyname("tftp", "udp");
        if (entry == nullptr) return 0;
        serverPort = ntohs(static_cast<uint16_t>(entry->s_port));
    }
    serverPort_ = serverPort;
    remotePort_ = serverPort_;
    return 1;
}

void TftpSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int TftpSocket::sendTo(uint16_t port, const uint8_t* bytes, size_t length) {
    if (fd_ < 0) return 0;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = remoteAddress_;
    to.sin_port = htons(port);
    ssize_t n;
    do {
        n = ::sendto(fd_, bytes, length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (n < 0 && errno == EINTR);
    return n >= 0 && static_cast<size_t>(n) == length ? 1 : 0;
}

size_t TftpSocket::receivePacket(uint8_t* buffer, size_t capacity) {
    if (fd_ < 0) return 0;
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    ssize_t n;
    do {
        n = ::recvfrom(fd_, buffer, capacity, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromLength);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return 0;
    if (from.sin_family != AF_INET || !acceptSource(from.sin_addr.s_addr, ntohs(from.sin_port))) return 0;
    return static_cast<size_t>(n);
}

}  // namespace tarnwick
