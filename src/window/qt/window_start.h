// Start-up of the window: the socket service, the single-instance guard, the main window.
#pragma once
#include <string>
#include <vector>

#include "window/start_window.h"

namespace tarnwick {

class Clock;
class Tone;

// Runs the main window inside an existing QApplication until it ends; returns the exit
// status. A second instance shows the "already executed" box and returns 1 at once.
int runWindowApplication(const std::vector<std::string>& args, Clock& clock, Tone& tone);

}  // namespace tarnwick
