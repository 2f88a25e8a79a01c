#include "platform/station_lock.h"

#include <cstdio>

#include "platform/os_error_text.h"
#include "platform/win32/windows_api.h"

namespace tarnwick {

// A named mutex per station, beside the single-instance mutex.
std::string stationLockPath(int stationNumber) {
    char name[40];
    std::snprintf(name, sizeof name, "Tarnwick.exe.Station%02d", stationNumber);
    return name;
}

StationLock::~StationLock() {
    if (fd_ == kNoHandle) return;
    HANDLE mutex = reinterpret_cast<HANDLE>(fd_);
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// Held means owned, not merely existing: a monitor's look at the mutex opens it for a
// moment, and a station starting in that moment must still get it. The station's main
// thread takes it and lives as long as the station.
StationLock::Result StationLock::acquire(int stationNumber) {
    const std::string name = stationLockPath(stationNumber);
    HANDLE mutex = CreateMutexA(nullptr, TRUE, name.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        if (error == ERROR_ACCESS_DENIED) return Result::HeldElsewhere;  // another user's station
        reason_ = "cannot create the mutex " + name + ": " + osErrorText(static_cast<int>(error));
        return Result::Unavailable;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD waited = WaitForSingleObject(mutex, 0);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(mutex);
            return Result::HeldElsewhere;
        }
    }
    fd_ = reinterpret_cast<NativeHandle>(mutex);
    return Result::Acquired;
}

// The mutex exists while a station holds it; Windows removes its name with the last
// handle, so a station that crashed leaves nothing behind.
bool stationRunning(int stationNumber) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, stationLockPath(stationNumber).c_str());
    if (mutex == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(mutex);
    return true;
}

}  // namespace tarnwick
