// The RS-232C side of the component updates: a target switch restarts the product's
// communication, and the return to normal mode runs over the port still open at the
// update rate.
#include "update/serial/serial_run.h"

#include "link/target_facts.h"

namespace tarnwick {

namespace {

constexpr uint32_t kLongSettleSeconds = 60;  // DM8 components and the targets they restart
constexpr uint32_t kSettleSeconds = 5;
constexpr uint32_t kHopConnectSeconds = 5;

// The slowly restarting parts take a minute after a switch.
uint32_t hopSettleSeconds(uint8_t toId) { return targetFacts(toId).restartsSlowly ? kLongSettleSeconds : kSettleSeconds; }

}  // namespace

uint32_t SerialRun::writeSettleSeconds(const ComponentEntry& c) const {
    return c.name.compare(0, 3, "DM8") == 0 ? kLongSettleSeconds : kSettleSeconds;
}

// Every hop restarts the product's communication: close, let it settle, reopen at the
// update rate and connect to the new target.
int SerialRun::switchHop(uint8_t from, uint8_t to) {
    if (link_->switchTarget(from, to, 0) != 0) return 0;
    link_->closePort();
    host.waitSeconds(hopSettleSeconds(to));
    if (openFor(PortUse::UpdateMode) != 1) return 0;
    return link_->connectTarget(to, kHopConnectSeconds) == 1 ? 1 : 0;
}

// The port is still open at the update rate.
int SerialRun::returnToNormalMode() {
    host.waitSeconds(kSettleSeconds);
    if (link_->switchTarget(kSystemMicrocomputer, kNormalModeTarget, 0) != 0) return 0;
    host.waitSeconds(kSettleSeconds);
    if (link_->enterNormalMode() != 1) return 0;
    host.showStatus(0, "Reboot(Nomal Mode)...", 0, 0);
    host.waitSeconds(kSettleSeconds);
    return 1;
}

}  // namespace tarnwick
