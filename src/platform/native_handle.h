// A descriptor of the operating system as the platform's interfaces carry it: a file
// descriptor on POSIX, a HANDLE or SOCKET on Windows.
#pragma once
#include <cstdint>

namespace tarnwick {

using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

}  // namespace tarnwick
