// The real clock without the fixed settling waits: benchmarks time the link, not the
// pauses a procedure makes.
#pragma once
#include "platform/clock.h"

namespace tarnwick {

class BenchClock final : public Clock {
public:
    uint64_t nowMs() override { return systemClock().nowMs(); }
    void sleepMs(uint32_t ms) override { systemClock().sleepMs(ms); }
    void settleMs(uint32_t) override {}
    bool waitReadable(NativeHandle fd, uint32_t ms) override { return systemClock().waitReadable(fd, ms); }
};

}  // namespace tarnwick
