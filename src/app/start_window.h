// Runs the program as a window (or, with "/NN", as a station); returns the exit status.
#pragma once

namespace tarnwick {

int startWindow(int argc, char** argv);

}  // namespace tarnwick
