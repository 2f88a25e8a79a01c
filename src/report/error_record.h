// One failure as the link and the checks report it.
#pragma once
#include <cstdint>

namespace tarnwick {

// Always passed by value, fields in this order.
struct ErrorRecord {
    uint32_t targetId = 0;     // only the low 8 bits are significant
    uint32_t errorCode = 0;    // 0 = no error (a report of it does nothing)
    uint32_t processCode = 0;  // the step that failed
    uint32_t progress = 0;     // percentage of a write or read-back, 0 elsewhere
};

// PC-side error codes.
enum : uint32_t {
    kErrNone = 0,
    kErrChecksum = 1,
    kErrVerify = 2,
    kErrComm = 0xE0,
    kErrReply = 0xE1,
    kErrRetry = 0xE2,
    kErrTimeout = 0xE3,
    kErrPortOpen = 0xE4,
    kErrState = 0xE9,
};

// Process codes.
enum : uint32_t {
    kProcSwitch = 1,
    kProcConnect = 2,
    kProcBaudRate = 3,
    kProcRequestInfo = 4,
    kProcUpdate = 5,
    kProcVerify = 6,
    kProcCheck = 7,
    kProcReceiveBackup = 8,
    kProcSendBackup = 9,
};

}  // namespace tarnwick
