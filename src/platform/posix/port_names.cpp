#include "platform/port_names.h"

#include "platform/serial_candidates.h"

namespace tarnwick {

std::string deviceOfPortNumber(int number) { return number > 0 ? serialDevicePath(number - 1) : std::string(); }

std::string portNameOf(size_t index, const std::string&) { return "COM" + std::to_string(index + 1); }

}  // namespace tarnwick
