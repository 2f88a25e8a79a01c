#include "platform/os_error_text.h"

#include <cstring>

namespace tarnwick {

std::string osErrorText(int code) { return std::strerror(code); }

}  // namespace tarnwick
