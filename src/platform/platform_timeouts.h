// The platform's own waits, each with its reason.
#pragma once
#include <chrono>

namespace tarnwick {

// A serial port rests after it was opened and configured, before the first byte goes out;
// every port the port test opens costs it. A fixed settling wait (scaled for demos).
inline constexpr std::chrono::milliseconds kSerialOpenSettleWait{1000};
// A serial write that makes no progress for this long has failed (a stuck or vanished peer).
inline constexpr std::chrono::milliseconds kSerialWriteStall{10000};
// How long a TCP connect may take before it gives up. Linux on its own keeps retrying a
// connect that nobody answers for about two minutes (the SYN retries), which would hang
// the program that long on a wrong address.
inline constexpr std::chrono::milliseconds kTcpConnectBound{20000};
// How long a send waits for the connection to take bytes.
inline constexpr std::chrono::milliseconds kTcpWritableWait{3000};

}  // namespace tarnwick
