// A product or module that sends what it has one byte every gapMs of virtual time.
#pragma once
#include "support/memory_transport.h"
#include "support/test_clock.h"

namespace tarnwick::test {

class DripTransport : public MemoryTransport {
public:
    DripTransport(VirtualClock& clock, uint64_t gapMs) : clock_(clock), gapMs_(gapMs), next_(clock.now + gapMs) {}
    uint32_t bytesWaiting() override { return clock_.now >= next_ && !incoming.empty() ? 1 : 0; }
    int read(uint8_t* bytes, size_t count) override {
        next_ = clock_.now + gapMs_;
        return MemoryTransport::read(bytes, count);
    }

private:
    VirtualClock& clock_;
    uint64_t gapMs_, next_;
};

}  // namespace tarnwick::test
