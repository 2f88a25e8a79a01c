#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/platform_timeouts.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

namespace {

speed_t speedOf(uint8_t baudIndex) {
    switch (baudIndex) {
        case 0: return B9600;
        case 1: return B19200;
        case 2: return B38400;
        case 3: return B57600;
        case 4: return B115200;
        default: return B0;
    }
}

}  // namespace

uint32_t baudRateOf(uint8_t baudIndex) {
    static constexpr uint32_t kRates[kBaudRateCount] = {9600, 19200, 38400, 57600, 115200};
    return baudIndex < kBaudRateCount ? kRates[baudIndex] : 0;
}

SerialPort::SerialPort(Clock& clock) : clock_(clock) {}

SerialPort::~SerialPort() {
    close();
    releaseDevice();
}

bool SerialPort::holdDevice(const std::string& path) {
    if (holdFd_ >= 0 && heldPath_ == path) return true;
    releaseDevice();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    holdFd_ = fd;
    heldPath_ = path;
    return true;
}

void SerialPort::releaseDevice() {
    if (holdFd_ < 0) return;
    ::close(holdFd_);  // the lock goes with its descriptor
    holdFd_ = -1;
    heldPath_.clear();
}

int SerialPort::open(const std::string& path, uint8_t baudIndex) {
    if (path.empty() || baudIndex >= kBaudRateCount) return 0;
    close();
    if (!holdDevice(path)) return 0;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return 0;
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return 0;
    }
    fd_ = fd;
    path_ = path;
    purge();
    // Like a driver that refuses the settings, a failed configuration keeps the device
    // open but unusable until the next open or close.
    if (!configure(baudIndex)) return 0;
    clock_.settleFor(kSerialOpenSettleWait);
    return 1;
}

bool SerialPort::configure(uint8_t baudIndex) {
    termios tio{};
    if (tcgetattr(fd_, &tio) != 0) return false;
    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    // No read time-outs: a read takes what is there, the link polls for the rest.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speedOf(baudIndex));
    cfsetospeed(&tio, speedOf(baudIndex));
    if (tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // DTR and RTS on; a pseudo-terminal has no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)ioctl(fd_, TIOCMBIS, &lines);
    return true;
}

int SerialPort::close() {
    if (fd_ < 0) return 0;
    purge();
    (void)ioctl(fd_, TIOCNXCL);
    int r = ::close(fd_);
    fd_ = -1;
    path_.clear();
    return r == 0 ? 1 : 0;
}

int SerialPort::write(const uint8_t* bytes, size_t count) {
    if (fd_ < 0) return 0;
    size_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            clearError(errno);
            return 0;
        }
        // The driver's buffer is full: wait until it drains.
        pollfd p{static_cast<int>(fd_), POLLOUT, 0};
        int r = poll(&p, 1, static_cast<int>(kSerialWriteStall.count()));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0 || (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            clearError(r == 0 ? ETIMEDOUT : EIO);
            return 0;
        }
    }
    return 1;
}

size_t SerialPort::readDriver(uint8_t* buffer, size_t capacity) {
    ssize_t n;
    do {
        n = ::read(fd_, buffer, capacity);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        clearError(n < 0 ? errno : EIO);
        return 0;
    }
    return static_cast<size_t>(n);
}

int SerialPort::read(uint8_t* bytes, size_t count) {
    if (fd_ < 0) return 0;
    auto fill = [this](uint8_t* buffer, size_t capacity) { return readDriver(buffer, capacity); };
    return cache_.take(bytes, count, fill) ? 1 : 0;
}

uint32_t SerialPort::bytesWaiting() {
    if (fd_ < 0) return 0;
    int waiting = 0;
    if (ioctl(fd_, FIONREAD, &waiting) != 0 || waiting < 0) {
        clearError(errno);
        waiting = 0;
    }
    return static_cast<uint32_t>(cache_.size() + static_cast<size_t>(waiting));
}

int SerialPort::purge() {
    if (fd_ < 0) return 0;
    cache_.clear();
    return tcflush(fd_, TCIOFLUSH) == 0 ? 1 : 0;
}

}  // namespace tarnwick
