// The system's own text for a Windows error code, for messages that give the cause.
#pragma once
#include <string>

namespace tarnwick {

// One line, without the trailing period and line end; "error N" when the system has none.
std::string lastErrorText(unsigned long code);

}  // namespace tarnwick
