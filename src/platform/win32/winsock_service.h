// The sockets service of the process: started once by the first socket opener and ended
// when the program exits, so a connection made and closed around every change of port
// never pays for, or races with, a start and an end of its own.
#pragma once
#include <cstdint>

#include "platform/native_handle.h"
#include "platform/win32/windows_api.h"

namespace tarnwick {

// Starts the service (version 2.2) the first time; true when it runs.
bool startSockets();

// A socket that child processes do not inherit (the line starts its stations as children);
// kNoHandle on failure.
NativeHandle openSocket(int type, int protocol);

// Turns the socket's non-blocking mode on or off; true on success.
bool setSocketNonBlocking(NativeHandle socket, bool on);

// Waits up to ms for the socket to become readable (or writable); a socket that failed
// counts as ready, so the next receive or send reports the failure. 1 when ready, 0 on
// time-out, -1 when the wait itself failed (no socket).
int waitSocket(NativeHandle socket, bool forWrite, uint32_t ms);

inline SOCKET socketOf(NativeHandle handle) { return static_cast<SOCKET>(handle); }

}  // namespace tarnwick
