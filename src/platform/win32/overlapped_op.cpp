#include "platform/win32/overlapped_op.h"

namespace tarnwick {

OverlappedEnd OverlappedOp::finish(HANDLE handle, BOOL started, uint32_t ms, DWORD& count) {
    count = 0;
    if (op_.hEvent == nullptr) return OverlappedEnd::Failed;
    if (!started && GetLastError() != ERROR_IO_PENDING) return OverlappedEnd::Failed;
    if (WaitForSingleObject(op_.hEvent, ms) == WAIT_OBJECT_0) {
        return GetOverlappedResult(handle, &op_, &count, FALSE) ? OverlappedEnd::Done : OverlappedEnd::Failed;
    }
    (void)CancelIoEx(handle, &op_);
    // The buffer and this record stay in use until the driver lets go of them.
    if (GetOverlappedResult(handle, &op_, &count, TRUE)) return OverlappedEnd::Done;
    SetLastError(ERROR_TIMEOUT);
    return OverlappedEnd::TimedOut;
}

}  // namespace tarnwick
