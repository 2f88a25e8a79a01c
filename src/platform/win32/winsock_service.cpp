#include "platform/win32/winsock_service.h"

#include <cstdlib>
#include <mutex>

namespace tarnwick {

namespace {

void endSockets() { (void)WSACleanup(); }

}  // namespace

// Version 2.0 has all the command channel and the TFTP socket use. The service is started by
// the first socket and ended at the program's exit: a start and an end around each connection
// would only count up and down while the program holds it anyway.
constexpr WORD kSocketsVersion = MAKEWORD(2, 0);

bool startSockets() {
    static std::once_flag once;
    static bool running = false;
    std::call_once(once, [] {
        WSADATA data{};
        running = WSAStartup(kSocketsVersion, &data) == 0;
        if (running) (void)std::atexit(endSockets);
    });
    return running;
}

NativeHandle openSocket(int type, int protocol) {
    if (!startSockets()) return kNoHandle;
    SOCKET s = WSASocketW(AF_INET, type, protocol, nullptr, 0, WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET && WSAGetLastError() == WSAEINVAL) {
        // A Windows 7 without the update that knows the flag: the same in two steps.
        s = WSASocketW(AF_INET, type, protocol, nullptr, 0, WSA_FLAG_OVERLAPPED);
        if (s != INVALID_SOCKET) (void)SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    }
    return s == INVALID_SOCKET ? kNoHandle : static_cast<NativeHandle>(s);
}

bool setSocketNonBlocking(NativeHandle socket, bool on) {
    u_long mode = on ? 1 : 0;
    return ioctlsocket(socketOf(socket), FIONBIO, &mode) == 0;
}

int waitSocket(NativeHandle socket, bool forWrite, uint32_t ms) {
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socketOf(socket), &ready);
    FD_SET(socketOf(socket), &failed);
    timeval bound{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000) * 1000};
    // The count argument is ignored by Winsock; failures (a refused connect) arrive in the
    // exception set.
    const int r = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &bound);
    if (r == SOCKET_ERROR) return -1;
    return r > 0 ? 1 : 0;
}

}  // namespace tarnwick
