#include "platform/device_state.h"

#include "platform/win32/comm_device_name.h"
#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {

// Windows answers a port that another program has open with "access denied".
DeviceState stateOfOpenError(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: return DeviceState::Missing;
        case ERROR_ACCESS_DENIED: return DeviceState::Busy;
        default: return DeviceState::Failed;
    }
}

}  // namespace

DeviceProbe probeSerialDevice(const std::string& path) {
    DeviceProbe probe;
    const HANDLE handle = CreateFileA(commDeviceName(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        probe.osError = static_cast<int>(GetLastError());
        probe.state = stateOfOpenError(GetLastError());
        return probe;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (GetCommState(handle, &dcb)) {
        probe.state = DeviceState::Free;
    } else {
        probe.osError = static_cast<int>(GetLastError());
        probe.state = DeviceState::NotSerial;
    }
    CloseHandle(handle);
    return probe;
}

// Windows does not tell which program holds a port.
std::string deviceHolder(const std::string&) { return ""; }

}  // namespace tarnwick
