// One overlapped operation on a serial handle (a read, a write, a wait for a received
// byte), with a bounded wait for its end that never leaves it pending.
#pragma once
#include <cstdint>

#include "platform/win32/windows_api.h"

namespace tarnwick {

enum class OverlappedEnd { Done, TimedOut, Failed };

class OverlappedOp {
public:
    OverlappedOp() { op_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~OverlappedOp() {
        if (op_.hEvent != nullptr) CloseHandle(op_.hEvent);
    }
    OverlappedOp(const OverlappedOp&) = delete;
    OverlappedOp& operator=(const OverlappedOp&) = delete;

    OVERLAPPED* get() { return &op_; }

    // After the call that started the operation (started is what it returned): waits up
    // to ms for its end. On time-out the operation is cancelled and its cancellation
    // awaited, and GetLastError tells ERROR_TIMEOUT. count is the bytes transferred.
    OverlappedEnd finish(HANDLE handle, BOOL started, uint32_t ms, DWORD& count);

private:
    OVERLAPPED op_{};
};

}  // namespace tarnwick
