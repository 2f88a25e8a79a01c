// A clock for tests: settling waits and sleeps only add to a virtual time.
#pragma once

#include <vector>

#include "platform/clock.h"

namespace tarnwick::test {

class VirtualClock : public Clock {
public:
    uint64_t now = 0;
    std::vector<uint32_t> settles;  // every settling wait, in order

    uint64_t nowMs() override { return now; }
    void sleepMs(uint32_t ms) override { now += ms; }
    void settleMs(uint32_t ms) override {
        settles.push_back(ms);
        now += ms;
    }
    bool waitReadable(NativeHandle fd, uint32_t ms) override {
        const bool ready = systemClock().waitReadable(fd, 0);
        if (!ready) now += ms;
        return ready;
    }
};

}  // namespace tarnwick::test
