#include "platform/clock.h"

#include <cmath>
#include <cstdlib>

#include "platform/win32/overlapped_op.h"
#include "platform/win32/winsock_service.h"

#include <timeapi.h>

namespace tarnwick {

namespace {

void sleepRealMs(uint64_t ms) {
    // Sleep takes 0xFFFFFFFF as "for ever"; longer waits go in parts.
    constexpr uint64_t kLongestPart = 0x7FFFFFFF;
    for (; ms > kLongestPart; ms -= kLongestPart) Sleep(static_cast<DWORD>(kLongestPart));
    Sleep(static_cast<DWORD>(ms));
}

// True when the driver holds received bytes; reading the count clears its error state.
bool serialHasBytes(HANDLE handle) {
    DWORD flags = 0;
    COMSTAT status{};
    return ClearCommError(handle, &flags, &status) && status.cbInQue > 0;
}

class SystemClock final : public Clock {
public:
    SystemClock() : scale_(parseTimeScale(std::getenv("TARNWICK_TIME_SCALE"))) {
        QueryPerformanceFrequency(&frequency_);
        // The link's 10 ms polls would otherwise last a whole scheduler tick (about 16 ms)
        // and stretch every answer time-out by half.
        (void)timeBeginPeriod(1);
    }
    ~SystemClock() override { (void)timeEndPeriod(1); }

    uint64_t nowMs() override {
        LARGE_INTEGER count{};
        QueryPerformanceCounter(&count);
        const uint64_t ticks = static_cast<uint64_t>(count.QuadPart);
        const uint64_t perSecond = static_cast<uint64_t>(frequency_.QuadPart);
        return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
    }
    void sleepMs(uint32_t ms) override { sleepRealMs(ms); }
    void settleMs(uint32_t ms) override {
        sleepRealMs(static_cast<uint64_t>(std::llround(static_cast<double>(ms) * scale_)));
    }
    bool waitReadable(NativeHandle handle, uint32_t ms) override {
        if (handle == kNoHandle) {
            sleepRealMs(ms);
            return false;
        }
        if (GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_CHAR) {
            return waitSerial(reinterpret_cast<HANDLE>(handle), ms);
        }
        const int ready = waitSocket(handle, false, ms);
        if (ready < 0) sleepRealMs(ms);  // not a socket after all: the wait still lasts
        return ready > 0;
    }

private:
    bool waitSerial(HANDLE handle, uint32_t ms);

    double scale_;
    LARGE_INTEGER frequency_{};
};

// Waits for the driver to report a received byte. The event mask is set before the count
// is read, so a byte that arrives in between still ends the wait; an event for bytes that
// were already read only leads to another look at the count.
bool SystemClock::waitSerial(HANDLE handle, uint32_t ms) {
    const uint64_t deadline = nowMs() + ms;
    if (!SetCommMask(handle, EV_RXCHAR)) {
        sleepRealMs(ms);
        return false;
    }
    for (;;) {
        if (serialHasBytes(handle)) return true;
        const uint64_t now = nowMs();
        if (now >= deadline) return false;
        OverlappedOp op;
        DWORD events = 0;
        const BOOL started = WaitCommEvent(handle, &events, op.get());
        DWORD unused = 0;
        const OverlappedEnd end = op.finish(handle, started, static_cast<uint32_t>(deadline - now), unused);
        if (end == OverlappedEnd::TimedOut) return serialHasBytes(handle);
        // A driver that ends the wait without an event (Wine cancels it when the port is
        // written meanwhile) is asked again a moment later, never in a busy loop.
        if (end == OverlappedEnd::Failed) sleepRealMs(1);
    }
}

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace tarnwick
