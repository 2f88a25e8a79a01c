// Tests never open a real serial device: unless a test names its own pseudo-terminals,
// the port candidates are none. Nor do they meet the single-instance lock of a running
// Tarnwick, or of another test process: each test process has its runtime directory.
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {
struct NoSerialDevices {
    NoSerialDevices() { setenv("TARNWICK_SERIAL_PORTS", "", 1); }
} noSerialDevices;

struct PrivateRuntimeDir {
    PrivateRuntimeDir() {
        char dir[] = "/tmp/tarnwick-runtime-XXXXXX";
        if (mkdtemp(dir) != nullptr) {
            path = dir;
            setenv("XDG_RUNTIME_DIR", dir, 1);
        }
    }
    ~PrivateRuntimeDir() {
        if (path.empty()) return;
        unlink((path + "/Tarnwick.exe.lock").c_str());
        rmdir(path.c_str());
    }
    std::string path;
} privateRuntimeDir;
}  // namespace
