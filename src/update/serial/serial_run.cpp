// The RS-232C route's ports and its reboot into update mode: the normal mode's text
// commands at 9600 bit/s, the check and the recovery connect at the package's rate (else
// the list's), the update mode at the package's rate.
#include "update/serial/serial_run.h"

#include <string>

#include "update/update_timeouts.h"

namespace tarnwick {

SerialRun::SerialRun(UpdateJob& runJob, UpdateHost& runHost, Clock& clock)
    : SerialRunPort(clock), ProcedureRun(runJob, runHost, port, clock) {}

bool SerialRun::openFor(PortUse use) {
    const uint8_t packageBaud = job.pkg().baudIndex;
    switch (use) {
        case PortUse::NormalMode:
        case PortUse::Command: return openAt(kNormalModeBaud);
        case PortUse::Check:
        case PortUse::Recovery: return openAt(packageBaud != 0 ? packageBaud : static_cast<uint8_t>(job.baudSelection));
        case PortUse::UpdateMode: return openAt(packageBaud);
    }
    return false;
}

// The trace names the port by its number in the window's list (255 when the list had none).
bool SerialRun::openAt(uint8_t baudIndex) {
    const bool opened = port.open(job.devicePath, baudIndex) == 1;
    link_->traceNote("open port " + std::to_string(static_cast<uint8_t>(job.portIndex)) + " (" + port.devicePath() +
                     ") at " + std::to_string(baudRateOf(baudIndex)) + " bit/s: " + (opened ? "ok" : "failed"));
    return opened;
}

void SerialRun::closeLinkPort() {
    link_->traceNote("close port");
    port.close();
}

// An unanswered reboot command is not a failure here: the connect that follows decides.
bool SerialRun::rebootToUpdateMode() {
    if (!openFor(PortUse::Command)) return false;
    if (link_->enterUpdateMode()) {
        host.showStatus(0, "Reboot(Update Mode)...", 0, 0);
        host.waitSeconds(kSettleWait);
    }
    closeLinkPort();
    return true;
}

}  // namespace tarnwick
