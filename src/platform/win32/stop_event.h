// How the line asks one of its stations to stop when no console event can reach it (a
// console shares events only with its own processes, and not every system passes a
// Ctrl-Break to one group): a named event per process, which the station's StopSignals
// watches and the line sets.
#pragma once
#include <string>

namespace tarnwick {

inline std::string stopEventName(unsigned long processId) {
    return "Local\\Tarnwick.exe.Stop." + std::to_string(processId);
}

}  // namespace tarnwick
