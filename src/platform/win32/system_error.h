// The operator's text for a Windows error code.
#pragma once
#include "platform/win32/windows_api.h"

#include <string>

namespace tarnwick {

// The system's message for error (without its line end), or "error N" when it has none.
std::string systemErrorText(DWORD error);

}  // namespace tarnwick
