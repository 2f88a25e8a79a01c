// The byte pipe under a TargetLink: a serial port or a TCP command channel.
#pragma once
#include <cstddef>
#include <cstdint>

#include "link/link_timeouts.h"
#include "platform/native_handle.h"

namespace tarnwick {

// What the frame protocol does differently on a transport.
struct TransportTraits {
    bool purgeBeforeAttempt = true;    // connectTarget and requestInfo purge before each try
    std::chrono::seconds eraseAnswerWait = kSerialEraseAnswerWait;  // of the 'L' frame
    const char* verifyingText = "Verifying...";
    bool nakOnReadBackRetry = false;   // a read-back retry first sends an 'N' frame
    bool pauseBeforeInfoLines = false; // a 10 ms sleep before the first "VIALL" line
};

// The protocol over a TCP connection: nothing to purge, a shorter erase wait, an 'N'
// before a read-back waits again, and a short pause before the information lines.
inline constexpr TransportTraits kTcpTraits{
    .purgeBeforeAttempt = false,
    .eraseAnswerWait = kTcpEraseAnswerWait,
    .verifyingText = "Verifying ...",
    .nakOnReadBackRetry = true,
    .pauseBeforeInfoLines = true,
};

class Transport {
public:
    virtual ~Transport() = default;
    // Sends all bytes; 1 when the platform took them, 0 on failure.
    virtual int write(const uint8_t* bytes, size_t count) = 0;
    // Reads count bytes that bytesWaiting has reported; 1 on success, 0 on failure.
    virtual int read(uint8_t* bytes, size_t count) = 0;
    // Received bytes that a read can take without blocking (0 when the query fails).
    // A stream transport may answer 1 for "at least one byte".
    virtual uint32_t bytesWaiting() = 0;
    // Discards buffered data in both directions; the platform's result, 0 when closed.
    virtual int purge() = 0;
    // Closes the transport; non-zero when something open was closed.
    virtual int close() = 0;
    // The descriptor a wait can poll for readability, kNoHandle when there is none.
    virtual NativeHandle waitHandle() const = 0;
    virtual TransportTraits traits() const { return {}; }
};

}  // namespace tarnwick
