// Runs the program as a window, or as a station of the production line; returns the exit
// status.
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

constexpr const char* kAlreadyRunningText = "This software has already been executed.";
constexpr const char* kSocketsFailedText = "Windows sockets initialization failed.";

int startWindow(int argc, char** argv);

// `tarnwick /NN`: refuses a station argument other than /01../20 (exit status 64), then
// runs the station without a window under the single-instance lock. The exit status is
// the run's result code (0 for "SUCCESS"), 1 when another copy runs, 12 when the run
// ended without a result.
int startStation(const std::vector<std::string>& args);

}  // namespace tarnwick
