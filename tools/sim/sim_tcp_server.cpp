#include "sim_tcp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick::sim {

namespace {

constexpr int kStopCheckMs = 20;
constexpr size_t kChunk = 4096;

using SteadyClock = std::chrono::steady_clock;

// A listening socket on address:port (port 0: any free one, whose number is written
// back; a port already known is left alone); -1 on failure.
int listenOn(const std::string& address, uint16_t& port) {
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) {
        errno = EINVAL;
        return -1;
    }
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    int one = 1;
    (void)setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    socklen_t length = sizeof at;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    if (port == 0) port = ntohs(at.sin_port);
    return fd;
}

// Writes all bytes to a non-blocking socket; false when the PC went away.
bool sendAll(int fd, const std::vector<uint8_t>& bytes, const std::atomic<bool>& stop) {
    size_t done = 0;
    while (done < bytes.size() && !stop) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, kStopCheckMs);
        } else {
            return false;
        }
    }
    return done == bytes.size();
}

}  // namespace

SimTcpServer::SimTcpServer(SimConfig config, TcpOptions options)
    : engine_(std::move(config)), options_(std::move(options)) {}

SimTcpServer::~SimTcpServer() {
    stop();
    for (Client& c : clients_) {
        if (c.fd >= 0) ::close(c.fd);
    }
    closeListeners();
}

bool SimTcpServer::start() {
    const bool shared = options_.updatePort == options_.commandPort;
    if (!options_.refuseTextPort) listeners_.push_back({-1, &options_.textPort, Role::Text});
    listeners_.push_back({-1, &options_.commandPort, Role::Command});
    if (!shared) listeners_.push_back({-1, &options_.updatePort, Role::Command});
    if (!openListeners()) return false;
    if (shared) options_.updatePort = options_.commandPort;
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimTcpServer::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool SimTcpServer::openListeners() {
    for (Listener& l : listeners_) {
        if (l.fd >= 0) continue;
        l.fd = listenOn(options_.address, *l.port);
        if (l.fd < 0) {
            errno_ = errno;
            error_ = options_.address + " port " + std::to_string(*l.port) + ": " + std::strerror(errno_);
            closeListeners();
            return false;
        }
    }
    return true;
}

void SimTcpServer::closeListeners() {
    for (Listener& l : listeners_) {
        if (l.fd >= 0) ::close(l.fd);
        l.fd = -1;
    }
}

void SimTcpServer::run() {
    std::vector<pollfd> fds;
    uint8_t buffer[kChunk];
    while (!stop_) {
        followPower();
        if (!dark_ && restarting_ && SteadyClock::now() >= restartEnd_ && openListeners()) restarting_ = false;
        fds.clear();
        for (const Listener& l : listeners_) fds.push_back({l.fd, POLLIN, 0});
        for (const Client& c : clients_) fds.push_back({c.fd, POLLIN, 0});
        if (poll(fds.data(), fds.size(), kStopCheckMs) <= 0) continue;
        const size_t clientCount = clients_.size();
        for (size_t k = 0; k < clientCount; ++k) {
            Client& c = clients_[k];
            if (c.fd < 0 || fds[listeners_.size() + k].revents == 0) continue;
            ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
            if (n > 0) {
                serve(c, buffer, static_cast<size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                drop(c, "closed by PC");
            }
        }
        std::erase_if(clients_, [](const Client& c) { return c.fd < 0; });
        for (size_t k = 0; k < listeners_.size(); ++k) {
            if (listeners_[k].fd >= 0 && (fds[k].revents & POLLIN) != 0) accept(listeners_[k]);
        }
    }
}

void SimTcpServer::accept(const Listener& listener) {
    int fd = ::accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    int one = 1;
    (void)setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    clients_.push_back({fd, *listener.port, listener.role, 0});
    engine_.resetInput();
    note(*listener.port, "open");
}

void SimTcpServer::serve(Client& client, const uint8_t* bytes, size_t count) {
    bool closeNow = false;
    if (options_.closeAfterBytes > 0 && client.received + count >= options_.closeAfterBytes) {
        count = static_cast<size_t>(options_.closeAfterBytes - client.received);
        closeNow = true;
    }
    client.received += count;
    const ProductMode before = engine_.mode();
    // The text port speaks only to a product in its normal mode.
    if (client.role == Role::Text && before != ProductMode::Normal) count = 0;
    const size_t seen = engine_.eventCount();
    auto answer = engine_.feed(bytes, count);
    for (const std::string& e : engine_.eventsSince(seen)) note(client.port, e);
    if (engine_.poweredOff()) {  // the answer to the last message never leaves the product
        followPower();
        return;
    }
    if (closeNow) {
        drop(client, "closed by product");
        return;
    }
    if (!sendAll(client.fd, answer, stop_)) {
        drop(client, "closed by PC");
        return;
    }
    if (engine_.mode() != before) restart();
}

void SimTcpServer::drop(Client& client, const char* why) {
    if (client.fd < 0) return;
    ::close(client.fd);
    client.fd = -1;
    engine_.resetInput();
    note(client.port, why);
}

// The product reboots into its other mode: its connections end, and with a delay it
// accepts nothing until it is up again.
void SimTcpServer::restart() {
    ++restarts_;
    for (Client& c : clients_) drop(c, "closed by product");
    if (options_.restartDelayMs == 0) return;
    closeListeners();
    restartEnd_ = SteadyClock::now() + std::chrono::milliseconds(options_.restartDelayMs);
    restarting_ = true;
}

void SimTcpServer::restorePower() {
    engine_.restorePower();
    for (int waited = 0; dark_ && thread_.joinable() && waited < 5000; waited += kStopCheckMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopCheckMs));
    }
}

void SimTcpServer::followPower() {
    const bool off = engine_.poweredOff();
    if (off && !dark_) {
        // Dark before the PC can see a connection end: a test that restores the power as soon
        // as its run has failed must find the product still dark and wait for its listeners.
        dark_ = true;
        ++powerCuts_;
        for (Client& c : clients_) drop(c, "closed by power cut");
        closeListeners();
    } else if (!off && dark_ && openListeners()) {
        dark_ = false;
        restarting_ = false;
    }
}

void SimTcpServer::note(uint16_t port, const std::string& text) {
    std::lock_guard lock(logMutex_);
    log_.push_back(std::to_string(port) + " " + text);
}

std::vector<std::string> SimTcpServer::log() const {
    std::lock_guard lock(logMutex_);
    return log_;
}

void SimTcpServer::clearLog() {
    std::lock_guard lock(logMutex_);
    log_.clear();
}

}  // namespace tarnwick::sim
