#include "platform/interrupt_flag.h"

#include <atomic>

#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI onControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;  // closing: the system's way
    interrupted = true;
    return TRUE;
}

}  // namespace

InterruptFlag::InterruptFlag() {
    interrupted = false;
    SetConsoleCtrlHandler(onControl, TRUE);
}

InterruptFlag::~InterruptFlag() { SetConsoleCtrlHandler(onControl, FALSE); }

bool InterruptFlag::raised() const { return interrupted.load(); }

}  // namespace tarnwick
