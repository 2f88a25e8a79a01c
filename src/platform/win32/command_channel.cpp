#include "platform/command_channel.h"

#include <climits>

#include "platform/win32/winsock_service.h"

namespace tarnwick {

namespace {

uint32_t msOf(std::chrono::milliseconds wait) { return static_cast<uint32_t>(wait.count()); }

}  // namespace

// The address parsed, then a non-blocking connect waited for at most the bound; the socket
// is left blocking, with sends bounded like the writability wait.
bool CommandChannel::connectSocket() {
    in_addr ip{};
    if (inet_pton(AF_INET, address_.c_str(), &ip) != 1) return false;
    fd_ = openSocket(SOCK_STREAM, IPPROTO_TCP);
    if (fd_ == kNoHandle) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port_);
    to.sin_addr = ip;
    const SOCKET s = socketOf(fd_);
    if (!setSocketNonBlocking(fd_, true)) return false;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) return false;
        if (waitSocket(fd_, true, msOf(connectBound_)) != 1) return false;
        int error = 0;
        int length = sizeof error;
        if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) != 0 || error != 0) return false;
    }
    const DWORD sendBound = msOf(kTcpWritableWait);
    (void)setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendBound), sizeof sendBound);
    const BOOL one = TRUE;
    (void)setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    return setSocketNonBlocking(fd_, false);
}

int CommandChannel::close() {
    if (!open_) return 0;
    if (fd_ != kNoHandle) {
        (void)shutdown(socketOf(fd_), SD_SEND);
        (void)closesocket(socketOf(fd_));
        fd_ = kNoHandle;
    }
    open_ = connected_ = false;
    cache_.clear();
    return 1;
}

int CommandChannel::isWritable() {
    if (fd_ == kNoHandle) return 0;
    return waitSocket(fd_, true, msOf(kTcpWritableWait)) == 1 ? 1 : 0;
}

int CommandChannel::isReadable() {
    if (fd_ == kNoHandle) return 0;
    return waitSocket(fd_, false, 0) == 1 ? 1 : 0;
}

int CommandChannel::send(const uint8_t* bytes, size_t count) {
    if (count > INT_MAX || isWritable() != 1) return 0;
    const int n = ::send(socketOf(fd_), reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0);
    return n >= 0 && static_cast<size_t>(n) == count ? 1 : 0;
}

int CommandChannel::receive(uint8_t* buffer, size_t size) {
    int n = SOCKET_ERROR;
    if (fd_ != kNoHandle && size <= INT_MAX) n = ::recv(socketOf(fd_), reinterpret_cast<char*>(buffer), static_cast<int>(size), 0);
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    buffer[n] = 0;
    return n;
}

int CommandChannel::read(uint8_t* bytes, size_t count) {
    auto fill = [this](uint8_t* buffer, size_t capacity) { return static_cast<size_t>(receive(buffer, capacity)); };
    return cache_.take(bytes, count, fill) ? 1 : 0;
}

uint32_t CommandChannel::bytesWaiting() {
    if (cache_.size() > 0) return static_cast<uint32_t>(cache_.size());
    if (fd_ == kNoHandle) return 0;
    u_long waiting = 0;
    if (ioctlsocket(socketOf(fd_), FIONREAD, &waiting) == 0 && waiting > 0) return static_cast<uint32_t>(waiting);
    // Readable with nothing to read: the product closed the connection (or it broke), and
    // the next read reports it.
    return isReadable() == 1 ? 1 : 0;
}

}  // namespace tarnwick
