// A TargetLink transport over a TCP connection on loopback, for tests against the
// simulated network module.
#pragma once
#include <arpa/inet.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "link/transport.h"

namespace tarnwick::test {

class SocketTransport : public Transport {
public:
    ~SocketTransport() override { close(); }

    bool connect(const std::string& address, uint16_t port) {
        close();
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(port);
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ >= 0 && inet_pton(AF_INET, address.c_str(), &at.sin_addr) == 1 &&
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0) {
            return true;
        }
        close();
        return false;
    }
    int write(const uint8_t* bytes, size_t count) override {
        return fd_ >= 0 && send(fd_, bytes, count, MSG_NOSIGNAL) == static_cast<ssize_t>(count);
    }
    int read(uint8_t* bytes, size_t count) override { return recv(fd_, bytes, count, 0) == static_cast<ssize_t>(count); }
    // A closed connection counts as one byte waiting, so that the read fails.
    uint32_t bytesWaiting() override {
        pollfd p{fd_, POLLIN, 0};
        int waiting = 0;
        if (fd_ < 0 || poll(&p, 1, 0) <= 0) return 0;
        return ioctl(fd_, FIONREAD, &waiting) == 0 && waiting > 0 ? static_cast<uint32_t>(waiting) : 1;
    }
    int purge() override { return 1; }
    int close() override {
        if (fd_ < 0) return 0;
        ::close(fd_);
        fd_ = -1;
        return 1;
    }
    int waitHandle() const override { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace tarnwick::test
