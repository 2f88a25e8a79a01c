// Tests never open a real serial device: unless a test names its own pseudo-terminals,
// the port candidates are none.
#include <cstdlib>

namespace {
struct NoSerialDevices {
    NoSerialDevices() { setenv("TARNWICK_SERIAL_PORTS", "", 1); }
} noSerialDevices;
}  // namespace
