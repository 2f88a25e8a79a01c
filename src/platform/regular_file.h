// Opening an input the program reads to its end (a package, an information file): only a
// regular file is taken. A FIFO, a device or a link to /dev/zero would block the open or
// never end, and hold the line's guard meanwhile.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace tarnwick {

inline constexpr uint64_t kNoSizeLimit = ~uint64_t{0};

// The file at path for binary reading when it is a regular file of at most maxBytes; the
// open never waits. Null otherwise, with why ("no such file", "a FIFO, not a regular
// file", "larger than N bytes", ...) when why is not null.
std::FILE* openRegularFile(const std::string& path, uint64_t maxBytes, std::string* why);

}  // namespace tarnwick
