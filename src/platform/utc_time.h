// The current time in UTC as text, for the stamps of the run history.
#pragma once
#include <string>

namespace tarnwick {

// Now in UTC, formatted by strftime's format (at most 63 characters of result).
std::string utcNowText(const char* format);

}  // namespace tarnwick
