// The RS-232C side of the component updates: a target switch restarts the product's
// communication, and the return to normal mode runs over the port still open at the
// update rate.
#include "update/serial/serial_run.h"

#include "link/target_facts.h"
#include "update/update_timeouts.h"

namespace tarnwick {

namespace {

// The slowly restarting parts take a minute after a switch.
std::chrono::seconds hopSettleWait(uint8_t toId) {
    return targetFacts(toId).restartsSlowly ? kSerialLongSettleWait : kSettleWait;
}

}  // namespace

std::chrono::seconds SerialRun::writeSettleWait(const ComponentEntry& c) const {
    return c.name.compare(0, 3, "DM8") == 0 ? kSerialLongSettleWait : kSettleWait;
}

// Every hop restarts the product's communication: close, let it settle, reopen at the
// update rate and connect to the new target.
bool SerialRun::switchHop(uint8_t from, uint8_t to) {
    if (link_->switchTarget(from, to, 0) != ErrorCode::None) return false;
    closeLinkPort();
    host.waitSeconds(hopSettleWait(to));
    if (!openFor(PortUse::UpdateMode)) return false;
    return link_->connectTarget(to, kConnectWait);
}

// The port is still open at the update rate.
bool SerialRun::returnToNormalMode() {
    host.waitSeconds(kSettleWait);
    if (link_->switchTarget(kSystemMicrocomputer, kNormalModeTarget, 0) != ErrorCode::None) return false;
    host.waitSeconds(kSettleWait);
    if (!link_->enterNormalMode()) return false;
    host.showStatus(0, "Reboot(Nomal Mode)...", 0, 0);  // "Nomal" on purpose
    host.waitSeconds(kSettleWait);
    return true;
}

}  // namespace tarnwick
