// The "COMn" names under which the window and `tarnwick ports` show the serial ports, and
// which `--port COMn` takes. On Linux a name is a place in the candidate list (COM1 is the
// first candidate); on Windows it is the port's own name, COM1..COM256.
#pragma once
#include <cstddef>
#include <string>

namespace tarnwick {

inline constexpr int kMaxPortNumber = 256;

// The device path that "COMn" names; "" when there is none here.
std::string deviceOfPortNumber(int number);

// The "COMn" name of the candidate at index with that device path.
std::string portNameOf(size_t index, const std::string& devicePath);

}  // namespace tarnwick
