// Tests never open a real serial device: unless a test names its own pseudo-terminals,
// the port candidates are none. Nor do they meet the single-instance lock of a running
// Tarnwick, or of another test process: each test process has its runtime directory, which
// also holds the history its runs record.
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
            setenv("TARNWICK_HISTORY", (path + "/history.db").c_str(), 1);
        }
    }
    ~PrivateRuntimeDir() {
        if (path.empty()) return;
        for (const char* name : {"/Tarnwick.exe.lock", "/history.db", "/history.db-wal", "/history.db-shm"}) {
            unlink((path + name).c_str());
        }
        rmdir(path.c_str());
    }
    std::string path;
} privateRuntimeDir;
}  // namespace
