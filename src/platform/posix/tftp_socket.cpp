#include "platform/posix/tftp_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tarnwick {

TftpSocket::~TftpSocket() { close(); }

int TftpSocket::open(const char* moduleAddress, uint16_t serverPort) {
    close();
    address_.fill(0);
    serverPort_ = transferId_ = sourcePort_ = 0;
    local_ = sockaddr_in{};
    remote_ = sockaddr_in{};
    std::snprintf(address_.data(), address_.size(), "%s", moduleAddress ? moduleAddress : "");

    remote_.sin_family = AF_INET;
    if (inet_pton(AF_INET, address_.data(), &remote_.sin_addr) != 1) return 0;
    int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    fd_ = fd;
    local_.sin_family = AF_INET;
    local_.sin_addr.s_addr = htonl(INADDR_ANY);
    local_.sin_port = 0;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&local_), sizeof local_) != 0) return 0;

    if (serverPort == 0) {
        const servent* entry = getservbyname("tftp", "udp");
        if (entry == nullptr) return 0;
        serverPort = ntohs(static_cast<uint16_t>(entry->s_port));
    }
    serverPort_ = serverPort;
    remote_.sin_port = htons(serverPort_);
    return 1;
}

void TftpSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

int TftpSocket::sendTo(const sockaddr_in& to, const uint8_t* bytes, size_t length) {
    if (fd_ < 0) return 0;
    ssize_t n;
    do {
        n = ::sendto(fd_, bytes, length, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    } while (n < 0 && errno == EINTR);
    return n >= 0 && static_cast<size_t>(n) == length ? 1 : 0;
}

int TftpSocket::sendPacket(const uint8_t* bytes, size_t length) { return sendTo(remote_, bytes, length); }

int TftpSocket::sendPacketToPort(uint16_t port, const uint8_t* bytes, size_t length) {
    sockaddr_in to = remote_;
    to.sin_port = htons(port);
    return sendTo(to, bytes, length);
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
    if (from.sin_family != AF_INET || from.sin_addr.s_addr != remote_.sin_addr.s_addr) return 0;
    sourcePort_ = ntohs(from.sin_port);
    if (transferId_ == 0) {
        transferId_ = sourcePort_;
        remote_.sin_port = from.sin_port;
    }
    return static_cast<size_t>(n);
}

}  // namespace tarnwick
