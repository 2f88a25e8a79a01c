#include "platform/clock.h"

#include <poll.h>
#include <time.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tarnwick {

namespace {

void sleepRealMs(uint64_t ms) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ms / 1000);
    ts.tv_nsec = static_cast<long>((ms % 1000) * 1000000);
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

class SystemClock final : public Clock {
public:
    SystemClock() : scale_(parseTimeScale(std::getenv("TARNWICK_TIME_SCALE"))) {}

    uint64_t nowMs() override {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec) / 1000000;
    }
    void sleepMs(uint32_t ms) override { sleepRealMs(ms); }
    void settleMs(uint32_t ms) override {
        sleepRealMs(static_cast<uint64_t>(std::llround(static_cast<double>(ms) * scale_)));
    }
    bool waitReadable(NativeHandle fd, uint32_t ms) override {
        pollfd p{static_cast<int>(fd), POLLIN, 0};
        int r;
        do {
            r = poll(&p, 1, static_cast<int>(ms));
        } while (r < 0 && errno == EINTR);
        return r > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
    }

private:
    double scale_;
};

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace tarnwick
