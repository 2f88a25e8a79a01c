// The Windows API as every file of this folder includes it: sockets before windows.h,
// without the rarely used parts and without the min/max macros that break std::min.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
