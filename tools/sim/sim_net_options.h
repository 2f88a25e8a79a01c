// tarnwick-sim's options of the network module.
#pragma once
#include <string>

#include "sim_net_module.h"

namespace tarnwick::sim {

// Takes argv[i] (and its value, advancing i) when it is a network module option: 1 when
// taken, 0 when it is not one, -1 when its value is wrong. --net-module enables the module.
int parseNetModuleOption(int argc, char** argv, int& i, NetModuleConfig& config, bool& enabled);

extern const char* const kNetModuleUsage;

}  // namespace tarnwick::sim
