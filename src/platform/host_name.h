// The name of this computer, as the run history records it.
#pragma once
#include <string>

namespace tarnwick {

// "" when it cannot be determined.
std::string hostName();

}  // namespace tarnwick
