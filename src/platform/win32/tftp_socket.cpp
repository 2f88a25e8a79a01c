#include "platform/tftp_socket.h"

#include <climits>

#include "platform/win32/winsock_service.h"

#ifndef SIO_UDP_CONNRESET
#define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#endif

namespace tarnwick {

namespace {

// Windows turns an ICMP "port unreachable" for an earlier datagram into a failed receive on
// the socket; the module's late or foreign replies must not look like a broken socket, so
// the socket ignores them as other systems do.
void ignorePortUnreachable(SOCKET s) {
    BOOL off = FALSE;
    DWORD returned = 0;
    (void)WSAIoctl(s, SIO_UDP_CONNRESET, &off, sizeof off, nullptr, 0, &returned, nullptr, nullptr);
}

}  // namespace

int TftpSocket::open(const char* moduleAddress, uint16_t serverPort) {
    close();
    forgetPeer(moduleAddress);

    in_addr remote{};
    if (inet_pton(AF_INET, address_.data(), &remote) != 1) return 0;
    remoteAddress_ = remote.s_addr;
    fd_ = openSocket(SOCK_DGRAM, IPPROTO_UDP);
    if (fd_ == kNoHandle) return 0;
    const SOCKET s = socketOf(fd_);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) return 0;
    // Receives never wait: the client's own waits decide how long to listen.
    if (!setSocketNonBlocking(fd_, true)) return 0;
    ignorePortUnreachable(s);

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
    if (fd_ != kNoHandle) (void)closesocket(socketOf(fd_));
    fd_ = kNoHandle;
}

int TftpSocket::sendTo(uint16_t port, const uint8_t* bytes, size_t length) {
    if (fd_ == kNoHandle || length > INT_MAX) return 0;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = remoteAddress_;
    to.sin_port = htons(port);
    const int n = ::sendto(socketOf(fd_), reinterpret_cast<const char*>(bytes), static_cast<int>(length), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return n >= 0 && static_cast<size_t>(n) == length ? 1 : 0;
}

size_t TftpSocket::receivePacket(uint8_t* buffer, size_t capacity) {
    if (fd_ == kNoHandle || capacity > INT_MAX) return 0;
    sockaddr_in from{};
    int fromLength = sizeof from;
    int n = ::recvfrom(socketOf(fd_), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0,
                       reinterpret_cast<sockaddr*>(&from), &fromLength);
    // A datagram longer than the buffer arrives cut to it, reported as an error.
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) n = static_cast<int>(capacity);
    if (n <= 0) return 0;
    if (from.sin_family != AF_INET || !acceptSource(from.sin_addr.s_addr, ntohs(from.sin_port))) return 0;
    return static_cast<size_t>(n);
}

}  // namespace tarnwick
