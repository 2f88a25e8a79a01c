// One failure as the link and the checks report it.
#pragma once
#include <cstdint>

namespace tarnwick {

// PC-side error codes: what a link operation, a check or the TFTP client failed with. The
// numbers are those the reports, the station's slot and the error log carry.
enum class ErrorCode : uint32_t {
    None = 0,
    Checksum = 1,       // a check: the product's checksum or status word is not the expected one
    Verification = 2,   // a check: the data read back are not the data file's
    Comm = 0xE0,        // sending or reading failed at the PC
    ProductError = 0xE1,  // the product answered with an 'E' frame (its own code is in the frame)
    Retry = 0xE2,       // no acceptable answer after the last attempt
    Timeout = 0xE3,     // the last attempt timed out
    PortOpen = 0xE4,    // the port or connection could not be opened
    State = 0xE9,       // a state the procedure does not expect
    BadLine = 0xEA,     // a text line too long, or an empty or too long prefix (never reported)
};

constexpr uint32_t numberOf(ErrorCode code) { return static_cast<uint32_t>(code); }

// Always passed by value, fields in this order.
struct ErrorRecord {
    uint32_t targetId = 0;     // only the low 8 bits are significant
    uint32_t errorCode = 0;    // 0 = no error (a report of it does nothing)
    uint32_t processCode = 0;  // the step that failed
    uint32_t progress = 0;     // percentage of a write or read-back, 0 elsewhere
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

// The record of a failure of targetId with code in the step processCode.
constexpr ErrorRecord failureRecord(uint32_t targetId, ErrorCode code, uint32_t processCode, uint32_t progress) {
    return ErrorRecord{targetId, numberOf(code), processCode, progress};
}

}  // namespace tarnwick
