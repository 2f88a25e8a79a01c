#include "platform/command_channel.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick {

namespace {

// poll on one descriptor, resumed after a signal; the returned events, 0 on time-out.
short pollOne(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    int r;
    do {
        r = poll(&p, 1, timeoutMs);
    } while (r < 0 && errno == EINTR);
    return r > 0 ? p.revents : 0;
}

bool setNonBlocking(int fd, bool on) {
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0) return false;
    flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return fcntl(fd, F_SETFL, flags) == 0;
}

}  // namespace

// The address parsed, then a non-blocking connect waited for at most the bound; the socket
// is left blocking, with sends bounded like the writability wait.
bool CommandChannel::connectSocket() {
    in_addr ip{};
    if (inet_pton(AF_INET, address_.c_str(), &ip) != 1) return false;
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd_ < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port_);
    to.sin_addr = ip;
    if (!setNonBlocking(fd_, true)) return false;
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS) return false;
        if ((pollOne(fd_, POLLOUT, static_cast<int>(connectBound_.count())) & (POLLOUT | POLLERR | POLLHUP)) == 0) return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return false;
    }
    timeval sendBound{static_cast<time_t>(std::chrono::duration_cast<std::chrono::seconds>(kTcpWritableWait).count()), 0};
    (void)setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &sendBound, sizeof sendBound);
    int one = 1;
    (void)setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return setNonBlocking(fd_, false);
}

int CommandChannel::close() {
    if (!open_) return 0;
    if (fd_ >= 0) {
        (void)shutdown(fd_, SHUT_WR);
        ::close(fd_);
        fd_ = -1;
    }
    open_ = connected_ = false;
    cache_.clear();
    return 1;
}

int CommandChannel::isWritable() {
    if (fd_ < 0) return 0;
    return (pollOne(fd_, POLLOUT, static_cast<int>(kTcpWritableWait.count())) & POLLOUT) != 0 ? 1 : 0;
}

int CommandChannel::isReadable() {
    if (fd_ < 0) return 0;
    return (pollOne(fd_, POLLIN, 0) & (POLLIN | POLLHUP | POLLERR)) != 0 ? 1 : 0;
}

int CommandChannel::send(const uint8_t* bytes, size_t count) {
    if (isWritable() != 1) return 0;
    ssize_t n;
    do {
        // No SIGPIPE: a product that closed the connection makes the send fail, nothing more.
        n = ::send(fd_, bytes, count, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n >= 0 && static_cast<size_t>(n) == count ? 1 : 0;
}

int CommandChannel::receive(uint8_t* buffer, size_t size) {
    ssize_t n = -1;
    if (fd_ >= 0) {
        do {
            n = ::recv(fd_, buffer, size, 0);
        } while (n < 0 && errno == EINTR);
    }
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    buffer[n] = 0;
    return static_cast<int>(n);
}

int CommandChannel::read(uint8_t* bytes, size_t count) {
    auto fill = [this](uint8_t* buffer, size_t capacity) { return static_cast<size_t>(receive(buffer, capacity)); };
    return cache_.take(bytes, count, fill) ? 1 : 0;
}

uint32_t CommandChannel::bytesWaiting() {
    if (cache_.size() > 0) return static_cast<uint32_t>(cache_.size());
    if (fd_ < 0) return 0;
    // A receive that does not wait is the readiness test and the read in one call.
    bool nothingYet = false;
    size_t n = cache_.refill([&](uint8_t* buffer, size_t capacity) {
        ssize_t r;
        do {
            r = ::recv(fd_, buffer, capacity, MSG_DONTWAIT);
        } while (r < 0 && errno == EINTR);
        nothingYet = r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        return r > 0 ? static_cast<size_t>(r) : 0;
    });
    if (nothingYet) return 0;
    // A product that closed the connection (or a broken one): the next read reports it.
    return n > 0 ? static_cast<uint32_t>(n) : 1;
}

}  // namespace tarnwick
