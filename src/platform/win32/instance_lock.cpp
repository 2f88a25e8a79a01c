#include "platform/instance_lock.h"

#include "platform/os_error_text.h"
#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {
// The guard is named after the program file, so that every copy of the writer, whatever
// its version, finds the same one.
constexpr const char* kMutexName = "Tarnwick.exe";
constexpr DWORD kPollMs = 100;
}  // namespace

// There is no directory: the guard is a named object of the session. The text stands in
// the messages that name what another copy holds.
std::string instanceLockPath(const std::string& /*dir*/) { return std::string("the mutex ") + kMutexName; }

std::string lockDirectory() { return ""; }

InstanceLock::~InstanceLock() { release(); }

// The mutex is created owned; one that exists already means another copy runs, whether
// or not its owning thread still waits on it. Windows removes the name with the last
// handle, so the guard goes with its process however that ends.
InstanceLock::Result InstanceLock::tryDirectory(const std::string& /*dir*/) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kMutexName);
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        // Denied: a copy of another user holds a mutex of that name.
        if (error == ERROR_ACCESS_DENIED) return Result::HeldElsewhere;
        reason_ = std::string("cannot create the mutex ") + kMutexName + ": " + osErrorText(static_cast<int>(error));
        return Result::Unavailable;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Result::HeldElsewhere;
    }
    fd_ = reinterpret_cast<NativeHandle>(mutex);
    path_ = kMutexName;
    return Result::Acquired;
}

InstanceLock::Result InstanceLock::acquire() {
    if (held()) return Result::Acquired;
    return tryDirectory("");
}

InstanceLock::Result InstanceLock::acquireWaiting(int seconds, bool (*giveUp)(const void*), const void* context) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds < 0 ? 0 : seconds) * 1000u;
    for (;;) {
        const Result r = acquire();
        if (r != Result::HeldElsewhere) return r;
        if (seconds >= 0 && GetTickCount64() >= deadline) return r;
        if (giveUp != nullptr && giveUp(context)) return r;
        Sleep(kPollMs);
    }
}

void InstanceLock::release() {
    if (fd_ == kNoHandle) return;
    HANDLE mutex = reinterpret_cast<HANDLE>(fd_);
    ReleaseMutex(mutex);  // fails harmlessly when another thread took it
    CloseHandle(mutex);
    fd_ = kNoHandle;
}

}  // namespace tarnwick
