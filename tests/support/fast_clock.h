// A clock for tests against a product on another thread: virtual time as VirtualClock
// keeps it, but each poll really waits up to realPollMs, so the product gets time to
// answer while a five-second answer wait still passes in a fraction of a second.
#pragma once

#include "support/test_clock.h"

namespace tarnwick::test {

class FastClock : public VirtualClock {
public:
    explicit FastClock(int pollMs = 1) : realPollMs(pollMs) {}

    bool waitReadable(NativeHandle fd, uint32_t ms) override {
        const bool ready = systemClock().waitReadable(fd, static_cast<uint32_t>(realPollMs));
        if (!ready) now += ms;
        return ready;
    }
    int realPollMs;  // longer real polls give a product on a busy machine more time to answer
};

}  // namespace tarnwick::test
