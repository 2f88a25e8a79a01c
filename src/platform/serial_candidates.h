// Which device paths stand for the port numbers 0..15 ("COM1".."COM16").
#pragma once
#include <string>
#include <vector>

namespace tarnwick {

// All candidate device paths in port order: the paths of TARNWICK_SERIAL_PORTS when it is
// set (separated by ':', on Windows by ';' as PATH is; empty entries skipped), else the
// existing /dev/ttyUSB*, /dev/ttyACM*, /dev/ttyS* devices, each group in natural order
// (ttyS2 before ttyS10), or on Windows the COM ports the system lists, by number.
// At most 16 are returned.
std::vector<std::string> serialDeviceCandidates();

// The device path of port number portIndex (0-based), "" when there is none.
std::string serialDevicePath(int portIndex);

}  // namespace tarnwick
