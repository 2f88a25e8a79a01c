// Time seam: every sleep and every wait of the program goes through a Clock.
#pragma once
#include <chrono>
#include <cstdint>

#include "platform/native_handle.h"

namespace tarnwick {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic milliseconds since an arbitrary start.
    virtual uint64_t nowMs() = 0;
    // A poll-loop sleep of the link (never scaled).
    virtual void sleepMs(uint32_t ms) = 0;
    // A fixed settling wait of a procedure (scaled by TARNWICK_TIME_SCALE on the system clock).
    virtual void settleMs(uint32_t ms) = 0;
    // Waits up to ms for handle to become readable; true when it is. Replaces "poll, then
    // sleep 10 ms" so that a wait ends as soon as a byte arrives.
    virtual bool waitReadable(NativeHandle handle, uint32_t ms) = 0;

    // The same, with the unit in the type.
    void sleepFor(std::chrono::milliseconds wait) { sleepMs(msOf(wait)); }
    void settleFor(std::chrono::milliseconds wait) { settleMs(msOf(wait)); }
    bool waitReadableFor(NativeHandle handle, std::chrono::milliseconds wait) { return waitReadable(handle, msOf(wait)); }

private:
    static uint32_t msOf(std::chrono::milliseconds wait) { return static_cast<uint32_t>(wait.count()); }
};

// The real clock; settling waits are multiplied by the TARNWICK_TIME_SCALE factor.
Clock& systemClock();

// Parses a TARNWICK_TIME_SCALE text: a non-negative decimal factor; anything else gives 1.
double parseTimeScale(const char* text);

}  // namespace tarnwick
