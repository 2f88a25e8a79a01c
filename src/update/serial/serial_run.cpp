// The RS-232C route's ports and its reboot into update mode: the normal mode's text
// commands at 9600 bit/s, the check and the recovery connect at the package's rate (else
// the list's), the update mode at the package's rate.
#include "update/serial/serial_run.h"

#include "update/update_timeouts.h"

namespace tarnwick {

SerialRun::SerialRun(UpdateJob& runJob, UpdateHost& runHost, Clock& clock)
    : ProcedureRun(runJob, runHost, makeSerialLink(clock)) {}

int SerialRun::openFor(PortUse use) {
    const uint8_t packageBaud = job.pkg().baudIndex;
    switch (use) {
        case PortUse::NormalMode:
        case PortUse::Command: return link_->openPort(port(), kNormalModeBaud) == 1 ? 1 : 0;
        case PortUse::Check:
        case PortUse::Recovery: {
            const uint8_t baud = packageBaud != 0 ? packageBaud : static_cast<uint8_t>(job.baudSelection);
            return link_->openPort(port(), baud) == 1 ? 1 : 0;
        }
        case PortUse::UpdateMode: return link_->openPort(port(), packageBaud) == 1 ? 1 : 0;
    }
    return 0;
}

// An unanswered reboot command is not a failure here: the connect that follows decides.
bool SerialRun::rebootToUpdateMode() {
    if (openFor(PortUse::Command) != 1) return false;
    if (link_->enterUpdateMode()) {
        host.showStatus(0, "Reboot(Update Mode)...", 0, 0);
        host.waitSeconds(kSettleWait);
    }
    closeLinkPort();
    return true;
}

}  // namespace tarnwick
