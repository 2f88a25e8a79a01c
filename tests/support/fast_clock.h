// A clock for tests against a product on another thread: virtual time like VirtualClock,
// but each poll really waits up to realPollMs, so the product gets time to answer while a
// five-second answer wait still passes in a fraction of a second.
#pragma once
#include <poll.h>

#include <atomic>
#include <vector>

#include "platform/clock.h"

namespace tarnwick::test {

class FastClock : public Clock {
public:
    explicit FastClock(int realPollMs = 1) : realPollMs_(realPollMs) {}

    std::atomic<uint64_t> now{0};
    std::vector<uint32_t> settles;

    uint64_t nowMs() override { return now; }
    void sleepMs(uint32_t ms) override { now += ms; }
    void settleMs(uint32_t ms) override {
        settles.push_back(ms);
        now += ms;
    }
    bool waitReadable(int fd, uint32_t ms) override {
        pollfd p{fd, POLLIN, 0};
        const bool ready = poll(&p, 1, realPollMs_) > 0;
        if (!ready) now += ms;
        return ready;
    }

private:
    int realPollMs_;
};

}  // namespace tarnwick::test
