// The operating system's own words for an error code it gave (errno on POSIX, a
// GetLastError code on Windows), for texts that name the cause of a failure.
#pragma once
#include <string>

namespace tarnwick {

std::string osErrorText(int code);

}  // namespace tarnwick
