// The steps of the update over RS-232C before the component updates: the port test, the
// normal-mode probe, the recovery connect, the product's versions, the package id, the
// reboot into update mode, the connect at the update rate and the product's model.
#include <cstdio>

#include "app/main_window.h"

namespace tarnwick {

namespace {
constexpr uint8_t kNormalModeBaud = 0;  // the product's normal mode always runs at 9600 bit/s
constexpr uint8_t kSystemMicrocomputer = 1;
constexpr uint32_t kRecoveryConnectSeconds = 3;
constexpr uint32_t kUpdateConnectSeconds = 5;
constexpr int kVersionRequeries = 6;
constexpr uint32_t kVersionRequeryWaitSeconds = 10;
constexpr uint32_t kRebootSettleSeconds = 5;
constexpr size_t kPackageIdChars = 4;
constexpr int kPortDidNotOpen = -1;

// Opens the port at the normal mode's rate, runs one text command and closes the port
// whatever the answer: the command's result, or kPortDidNotOpen.
int atNormalRate(MainWindow& w, int (TargetLink::*command)()) {
    TargetLink& link = *w.serialLink;
    if (link.openPort(static_cast<uint8_t>(w.selectedPortIndex()), kNormalModeBaud) != 1) return kPortDidNotOpen;
    const int answered = (link.*command)();
    link.closePort();
    return answered;
}
}  // namespace

void MainWindow::createSerialLink() {
    serialLink = makeSerialLink(clock());
    serialLink->setOwner(this);
    if (!linkTracePath.empty()) serialLink->setTrace(linkTracePath);
}

uint8_t MainWindow::updateBaud() {
    if (package.baudIndex != 0) return package.baudIndex;
    return static_cast<uint8_t>(dialog().baudSelection());
}

int MainWindow::testPort() {
    readControls();
    if (serialLink->openPort(static_cast<uint8_t>(selectedPortIndex()), kNormalModeBaud) != 1) return 0;
    serialLink->closePort();
    return 1;
}

int MainWindow::probeNormalMode() {
    readControls();
    return atNormalRate(*this, &TargetLink::queryTargetInfo) == 1 ? 1 : 0;
}

int MainWindow::connectForRecovery() {
    readControls();
    if (serialLink->openPort(static_cast<uint8_t>(selectedPortIndex()), updateBaud()) != 1) return 0;
    const int connected = serialLink->connectTarget(kSystemMicrocomputer, kRecoveryConnectSeconds);
    serialLink->closePort();
    return connected == 1 ? 1 : 0;
}

// The product may still be starting its components: it reports missing versions (or
// "B0000"/"I0000") for a while. Asks again, 10 seconds apart, then goes on regardless.
int MainWindow::readProductVersions() {
    readControls();
    for (int retries = 0;; ++retries) {
        const int answered = atNormalRate(*this, &TargetLink::queryTargetInfo);
        if (answered == kPortDidNotOpen) return 0;
        if (answered != 1 && updateMode == 0) return 0;
        if (serialLink->versionsValid() == 1) return 1;
        if (retries >= kVersionRequeries) return 1;
        waitSeconds(kVersionRequeryWaitSeconds);
    }
}

int MainWindow::writePackageId() {
    const std::string ours = package.packageId.substr(0, kPackageIdChars);
    const std::string theirs = serialLink->targetInfo.packageId.substr(0, kPackageIdChars);
    if (ours == theirs) return 1;
    serialLink->setPackageCommand(ours);
    return atNormalRate(*this, &TargetLink::setPackage) == 1 ? 1 : 0;
}

// An unanswered reboot command is not a failure here: the connect that follows decides.
int MainWindow::rebootToUpdateMode() {
    readControls();
    if (serialLink->openPort(static_cast<uint8_t>(selectedPortIndex()), kNormalModeBaud) != 1) return 0;
    if (serialLink->enterUpdateMode() == 1) {
        showStatus(0, "Reboot(Update Mode)...", 0, 0);
        waitSeconds(kRebootSettleSeconds);
    }
    serialLink->closePort();
    return 1;
}

// The port stays open at the update rate from here to the end of the run.
int MainWindow::connectInUpdateMode() {
    readControls();
    if (serialLink->openPort(static_cast<uint8_t>(selectedPortIndex()), package.baudIndex) != 1) return 0;
    return serialLink->connectTarget(kSystemMicrocomputer, kUpdateConnectSeconds) == 1 ? 1 : 0;
}

int MainWindow::readProductModel() {
    if (serialLink->requestInfo(kSystemMicrocomputer, 0, 0, package.statusEntryCount) != 1) return 0;
    const InfoRecord record = serialLink->infoAnswer(package.statusEntryCount);
    char text[8];
    std::snprintf(text, sizeof text, "%04X", record.value & 0xFFFFu);
    productModelText = text;
    return 1;
}

}  // namespace tarnwick
