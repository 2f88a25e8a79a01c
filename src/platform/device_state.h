// Why a serial device does or does not open, as the operator can act on it: the OS's
// cause, and the process that holds a busy device when /proc tells.
#pragma once
#include <string>

namespace tarnwick {

enum class DeviceState { Free, Missing, Busy, Denied, NotSerial, Failed };

struct DeviceProbe {
    DeviceState state = DeviceState::Failed;
    int osError = 0;     // errno (GetLastError on Windows) of the failed step, 0 when free
    std::string holder;  // "PID (NAME)" of a process holding a busy device, "" unknown
};

// Opens the device as the serial link does (exclusive, locked) and closes it again.
DeviceProbe probeSerialDevice(const std::string& path);

// The first process other than this one with the device open, as "PID (NAME)"; "" none.
std::string deviceHolder(const std::string& path);

// "free", "no such device", "busy, held by process 12 (minicom)", "permission denied
// (join the 'dialout' group ...)", ...
std::string deviceStateText(const DeviceProbe& probe);

}  // namespace tarnwick
