// The name this machine goes by on the network, as the history records where a run was made.
#pragma once
#include <string>

namespace tarnwick {

// Empty when it cannot be told.
std::string machineName();

}  // namespace tarnwick
