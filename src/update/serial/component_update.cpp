// The component updates over RS-232C: each selected component in position order is
// switched to, read from its data file, erased and written, left to settle and checked;
// then the product is switched back and rebooted into its normal mode.
#include <vector>

#include "update/component_checks.h"
#include "update/serial/serial_run.h"
#include "update/switch_path.h"

namespace tarnwick {

namespace {

constexpr uint8_t kNormalModeTarget = 0x10;
constexpr uint32_t kPassWaitSeconds = 3;
constexpr uint32_t kLongSettleSeconds = 60;  // DM8 components and the targets they restart
constexpr uint32_t kSettleSeconds = 5;
constexpr uint32_t kHopConnectSeconds = 5;

// The DM8 parts (ids 2, 3, 4) restart for a minute after a switch.
uint32_t hopSettleSeconds(uint8_t toId) { return toId >= 2 && toId <= 4 ? kLongSettleSeconds : kSettleSeconds; }

uint32_t writeSettleSeconds(const ComponentEntry& c) {
    return c.name.compare(0, 3, "DM8") == 0 ? kLongSettleSeconds : kSettleSeconds;
}

}  // namespace

// Writes and checks the component at position; 1 when it is good. previousId is the
// target the product was last switched to.
int SerialRun::updateComponent(int position, uint8_t& previousId) {
    const ComponentEntry& c = job.pkg().components[static_cast<size_t>(position)];
    const uint8_t id = c.id;
    const uint8_t from = previousId;
    previousId = id;
    if (id != kSystemMicrocomputer && id != from && switchToTarget(from, id) != 1) return 0;
    host.showStatus(id, "Updating start...", 0, 0);

    uint32_t length = 0;
    const std::unique_ptr<uint8_t[]> buffer = loadComponentBuffer(job, position, length);
    if (!buffer) return 0;
    if (link_->eraseAndWrite(id, c.versionNumber, c.startAddress, c.endAddress, buffer.get(), length) != 1) return 0;
    host.waitSeconds(writeSettleSeconds(c));
    return checkWrittenComponent(*link_, host, job, position, buffer.get());
}

int SerialRun::updateTargets() {
    uint8_t previousId = 0;  // the product is connected as target 1 when the run starts
    for (int i = 0; i < kMaxComponents; ++i) {
        const ComponentEntry& c = job.pkg().components[static_cast<size_t>(i)];
        if (job.targetChecked[static_cast<size_t>(i)] != 1 || (c.attributes & 1u) == 0) continue;
        ++job.currentNumber;
        if (job.updateMode == 0 && isSameVersion(i) == 1) {
            host.showStatus(c.id, "Pass update.", 0, 0);
            host.waitSeconds(kPassWaitSeconds);
            continue;
        }
        if (updateComponent(i, previousId) != 1) return 0;
    }
    return 1;
}

// Every hop restarts the product's communication: close, let it settle, reopen at the
// update rate and connect to the new target.
int SerialRun::switchToTarget(uint8_t fromId, uint8_t toId) {
    const UpdatePackage& package = job.pkg();
    const uint8_t position = package.positionOf(toId);
    if (position == kNoPosition) return 0;
    std::vector<SwitchHop> hops;
    if (!planSwitchHops(package.components[position].switchPath, fromId, toId, hops)) return 0;
    for (const SwitchHop& hop : hops) {
        if (link_->switchTarget(hop.from, hop.to, 0) != 0) return 0;
        link_->closePort();
        host.waitSeconds(hopSettleSeconds(hop.to));
        if (openAtUpdateRate() != 1) return 0;
        if (link_->connectTarget(hop.to, kHopConnectSeconds) != 1) return 0;
    }
    return hops.empty() ? 0 : 1;
}

int SerialRun::openAtUpdateRate() { return link_->openPort(port(), job.pkg().baudIndex) == 1 ? 1 : 0; }

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
