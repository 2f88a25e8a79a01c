// Runs the program as a window; returns the exit status.
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

constexpr const char* kAlreadyRunningText = "This software has already been executed.";
constexpr const char* kSocketsFailedText = "Windows sockets initialization failed.";

int startWindow(int argc, char** argv);

}  // namespace tarnwick
