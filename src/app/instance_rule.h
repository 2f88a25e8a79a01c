// One Tarnwick at a time: the window and the commands that load a package or open a port
// share the work directory and the devices, so a second of them is refused.
#pragma once

namespace tarnwick {

constexpr const char* kAlreadyRunningText = "This software has already been executed.";

}  // namespace tarnwick
