// The start of a production-line station from the program's arguments.
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

constexpr int kExitStationUsage = 64;  // as the command line's usage errors
constexpr int kExitBusy = 75;          // EX_TEMPFAIL: another copy holds the guard; try again

// Set by the line runner in the environment of the stations it starts: they run under the
// line's single-instance lock and take only their own station's lock.
inline constexpr const char* kLineStationVariable = "TARNWICK_LINE_STATION";

// `tarnwick /NN [--wait[=SECONDS]]`: refuses a station argument other than /01../20 (exit
// status 64), then runs the station without a window under the single-instance lock and
// the station's own lock. The exit status is the run's result code (0 for "SUCCESS"), 75
// when another copy holds a lock (after SECONDS, or never, with --wait), 12 when the run
// ended without a result, 130 when a signal stopped it.
int startStation(const std::vector<std::string>& args);

}  // namespace tarnwick
