// The start of a production-line station from the program's arguments.
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

constexpr int kExitStationUsage = 64;  // as the command line's usage errors

// `tarnwick /NN`: refuses a station argument other than /01../20 (exit status 64), then
// runs the station without a window under the single-instance lock. The exit status is
// the run's result code (0 for "SUCCESS"), 1 when another copy runs, 12 when the run
// ended without a result.
int startStation(const std::vector<std::string>& args);

}  // namespace tarnwick
