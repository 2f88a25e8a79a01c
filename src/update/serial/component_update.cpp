// The component updates over RS-232C: each selected component in position order is
// switched to, read from its data file, erased and written, left to settle and checked;
// then the product is switched back and rebooted into its normal mode.
#include <cstring>
#include <memory>
#include <new>

#include "app/main_window.h"
#include "update/serial/check_methods.h"
#include "update/serial/switch_path.h"

namespace tarnwick {

namespace {

constexpr uint8_t kSystemMicrocomputer = 1;
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

// Writes and checks the component at position; 1 when it is good. previousId is the
// target the product was last switched to.
int updateComponent(MainWindow& w, int position, uint8_t& previousId) {
    const ComponentEntry& c = w.package.components[static_cast<size_t>(position)];
    const uint8_t id = c.id;
    const uint8_t from = previousId;
    previousId = id;
    if (id != kSystemMicrocomputer && id != from && w.switchToTarget(from, id) != 1) return 0;
    w.showStatus(id, "Updating start...", 0, 0);

    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kComponentBufferSize]);
    if (!buffer) return 0;
    std::memset(buffer.get(), 0xFF, kComponentBufferSize);
    uint32_t length = 0;
    uint32_t byteSum = 0;
    if (w.loadComponentData(position, buffer.get(), length, byteSum) != 1) return 0;
    if (w.serialLink->eraseAndWrite(id, c.versionNumber, c.startAddress, c.endAddress, buffer.get(), length) != 1) {
        return 0;
    }
    w.waitSeconds(writeSettleSeconds(c));

    switch (checkMethodFor(c.writeMethod, w.checkMode)) {
        case CheckMethod::ReadBack: return w.verifyByReadBack(position, buffer.get());
        case CheckMethod::Checksum: return w.verifyChecksum(position);
        case CheckMethod::StatusWord: return w.verifyStatusWord(position);
        case CheckMethod::None: return 1;
        case CheckMethod::Fail: return 0;
    }
    return 0;
}

}  // namespace

int MainWindow::updateTargets() {
    readControls();
    uint8_t previousId = 0;  // the product is connected as target 1 when the run starts
    for (int i = 0; i < kMaxComponents; ++i) {
        const ComponentEntry& c = package.components[static_cast<size_t>(i)];
        if (targetChecked[static_cast<size_t>(i)] != 1 || (c.attributes & 1u) == 0) continue;
        ++currentNumber;
        if (updateMode == 0 && isSameVersion(i) == 1) {
            showStatus(c.id, "Pass update.", 0, 0);
            waitSeconds(kPassWaitSeconds);
            continue;
        }
        if (updateComponent(*this, i, previousId) != 1) return 0;
    }
    return 1;
}

// Every hop restarts the product's communication: close, let it settle, reopen at the
// update rate and connect to the new target.
int MainWindow::switchToTarget(uint8_t fromId, uint8_t toId) {
    const uint8_t position = package.positionOf(toId);
    if (position == kNoPosition) return 0;
    std::vector<SwitchHop> hops;
    if (!planSwitchHops(package.components[position].switchPath, fromId, toId, hops)) return 0;
    for (const SwitchHop& hop : hops) {
        if (serialLink->switchTarget(hop.from, hop.to, 0) != 0) return 0;
        serialLink->closePort();
        waitSeconds(hopSettleSeconds(hop.to));
        if (openAtUpdateRate() != 1) return 0;
        if (serialLink->connectTarget(hop.to, kHopConnectSeconds) != 1) return 0;
    }
    return hops.empty() ? 0 : 1;
}

int MainWindow::openAtUpdateRate() {
    readControls();
    return serialLink->openPort(static_cast<uint8_t>(selectedPortIndex()), package.baudIndex) == 1 ? 1 : 0;
}

// The port is still open at the update rate.
int MainWindow::returnToNormalMode() {
    readControls();
    waitSeconds(kSettleSeconds);
    if (serialLink->switchTarget(kSystemMicrocomputer, kNormalModeTarget, 0) != 0) return 0;
    waitSeconds(kSettleSeconds);
    if (serialLink->enterNormalMode() != 1) return 0;
    showStatus(0, "Reboot(Nomal Mode)...", 0, 0);
    waitSeconds(kSettleSeconds);
    return 1;
}

}  // namespace tarnwick
