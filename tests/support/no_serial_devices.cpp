// Tests never open a real serial device: unless a test names its own pseudo-terminals,
// the port candidates are none. Nor do they meet the single-instance lock of a running
// Tarnwick, or of another test process: each test process has its runtime directory, which
// also holds the history its runs record.
#include <filesystem>
#include <string>

#include "support/portable_env.h"

using namespace tarnwick::test;

namespace {
struct NoSerialDevices {
    NoSerialDevices() { setEnv("TARNWICK_SERIAL_PORTS", kNoSerialPorts); }
} noSerialDevices;

struct PrivateRuntimeDir {
    PrivateRuntimeDir() {
        path = makeTempDir("tarnwick-runtime");
        if (!path.empty()) {
            setEnv("XDG_RUNTIME_DIR", path);
            setEnv("TARNWICK_HISTORY", path + "/history.db");
        }
    }
    ~PrivateRuntimeDir() {
        if (path.empty()) return;
        std::error_code ec;
        for (const char* name : {"/Tarnwick.exe.lock", "/history.db", "/history.db-wal", "/history.db-shm"}) {
            std::filesystem::remove(path + name, ec);
        }
        std::filesystem::remove(path, ec);
    }
    std::string path;
} privateRuntimeDir;
}  // namespace
