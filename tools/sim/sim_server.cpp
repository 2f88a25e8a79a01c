#include "sim_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace tarnwick::sim {

namespace {

constexpr int kStopCheckMs = 20;
constexpr size_t kChunk = 4096;
constexpr size_t kPacedChunk = 128;  // granularity of the paced line: ~11 ms at 11520 bytes/s

using SteadyClock = std::chrono::steady_clock;

}  // namespace

SimServer::SimServer(SimConfig config) : engine_(config), pace_(config.paceBytesPerSecond) {}

SimServer::~SimServer() {
    stop();
    if (ownFd_ && fd_ >= 0) ::close(fd_);
}

bool SimServer::startPty() {
    if (!pty_.open()) {
        error_ = pty_.error();
        return false;
    }
    fd_ = pty_.master();
    path_ = pty_.slavePath();
    start();
    return true;
}

bool SimServer::startOnDevice(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = path + ": " + std::strerror(errno);
        return false;
    }
    ownFd_ = true;
    path_ = path;
    termios tio{};
    if (tcgetattr(fd_, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd_, TCSANOW, &tio);
    }
    start();
    return true;
}

void SimServer::start() {
    stop_ = false;
    thread_ = std::thread([this] { run(); });
}

void SimServer::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

bool SimServer::writeAll(const std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size() && !stop_) {
        ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            poll(&p, 1, kStopCheckMs);
        } else {
            return false;
        }
    }
    return true;
}

// Reads what may have arrived by now. On a paced line, bytes come no faster than the
// bit rate allows: the line time of each chunk is waited out before it is handed on,
// and an idle line does not bank time for a later burst.
size_t SimServer::takeInput(uint8_t* buffer, size_t capacity) {
    size_t want = capacity;
    if (pace_ > 0) {
        int waiting = 0;
        if (ioctl(fd_, FIONREAD, &waiting) != 0 || waiting <= 0) waiting = 1;
        want = std::min<size_t>(static_cast<size_t>(waiting), kPacedChunk);
        // Bytes that were already queued behind the last chunk arrived back to back, so
        // the schedule goes on from where it was (a late wake-up is caught up); a line
        // that ran dry starts afresh when bytes come again.
        auto now = SteadyClock::now();
        if (!lineBusy_ && lineFree_ < now) lineFree_ = now;
        lineBusy_ = static_cast<size_t>(waiting) > want;
        lineFree_ += std::chrono::nanoseconds(static_cast<int64_t>(want * 1000000000ull / pace_));
        std::this_thread::sleep_until(lineFree_);
    }
    ssize_t n = ::read(fd_, buffer, want);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

void SimServer::run() {
    uint8_t buffer[kChunk];
    while (!stop_) {
        pollfd p{fd_, POLLIN, 0};
        int r = poll(&p, 1, kStopCheckMs);
        if (r <= 0) continue;
        if ((p.revents & POLLIN) == 0) {
            // Hang-up of a device the product did not create: wait for it to come back.
            std::this_thread::sleep_for(std::chrono::milliseconds(kStopCheckMs));
            continue;
        }
        busy_ = true;
        size_t n = takeInput(buffer, sizeof buffer);
        received_ += n;
        if (n > 0) serveChunk(buffer, n);
        busy_ = false;
    }
}

bool SimServer::waitUntilIdle(int timeoutMs) {
    auto until = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    // Idle twice in a row: bytes just written may still be on their way through the
    // pseudo-terminal's buffers.
    int idleChecks = 0;
    for (;;) {
        int waiting = 0;
        if (ioctl(fd_, FIONREAD, &waiting) != 0) waiting = 0;
        idleChecks = (waiting == 0 && !busy_) ? idleChecks + 1 : 0;
        if (idleChecks >= 2) return true;
        if (SteadyClock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void SimServer::serveChunk(const uint8_t* bytes, size_t count) {
    auto out = engine_.feed(bytes, count);
    if (!out.empty()) writeAll(out);
}

}  // namespace tarnwick::sim
