// The steps of the update over RS-232C before the component updates: the port test, the
// normal-mode probe, the recovery connect, the product's versions, the package id, the
// reboot into update mode, the connect at the update rate and the product's model.
#include "update/serial/serial_run.h"

#include <cstdio>

#include "update/version_rules.h"

namespace tarnwick {

namespace {
constexpr uint32_t kRecoveryConnectSeconds = 3;
constexpr uint32_t kUpdateConnectSeconds = 5;
constexpr int kVersionRequeries = 6;
constexpr uint32_t kVersionRequeryWaitSeconds = 10;
constexpr uint32_t kRebootSettleSeconds = 5;
constexpr size_t kPackageIdChars = 4;
constexpr int kPortDidNotOpen = -1;
}  // namespace

SerialRun::SerialRun(UpdateJob& runJob, UpdateHost& runHost, Clock& clock)
    : job(runJob), host(runHost), link_(makeSerialLink(clock)) {
    link_->setOwner(&host);
    if (!job.tracePath.empty()) link_->setTrace(job.tracePath);
    host.attachLink(link_.get());
}

SerialRun::~SerialRun() { host.attachLink(nullptr); }

// Whatever the answer: the command's result, or kPortDidNotOpen.
int SerialRun::atNormalRate(int (TargetLink::*command)()) {
    if (link_->openPort(port(), kNormalModeBaud) != 1) return kPortDidNotOpen;
    const int answered = ((*link_).*command)();
    link_->closePort();
    return answered;
}

uint8_t SerialRun::updateBaud() const {
    if (job.pkg().baudIndex != 0) return job.pkg().baudIndex;
    return static_cast<uint8_t>(job.baudSelection);
}

int SerialRun::testPort() {
    if (link_->openPort(port(), kNormalModeBaud) != 1) return 0;
    link_->closePort();
    return 1;
}

int SerialRun::probeNormalMode() { return atNormalRate(&TargetLink::queryTargetInfo) == 1 ? 1 : 0; }

int SerialRun::connectForRecovery() {
    if (link_->openPort(port(), updateBaud()) != 1) return 0;
    const int connected = link_->connectTarget(kSystemMicrocomputer, kRecoveryConnectSeconds);
    link_->closePort();
    return connected == 1 ? 1 : 0;
}

// The product may still be starting its components: it reports missing versions (or
// "B0000"/"I0000") for a while. Asks again, 10 seconds apart, then goes on regardless.
int SerialRun::readProductVersions() {
    for (int retries = 0;; ++retries) {
        const int answered = atNormalRate(&TargetLink::queryTargetInfo);
        if (answered == kPortDidNotOpen) return 0;
        if (answered != 1 && job.updateMode == 0) return 0;
        if (link_->versionsValid() == 1) return 1;
        if (retries >= kVersionRequeries) return 1;
        host.waitSeconds(kVersionRequeryWaitSeconds);
    }
}

int SerialRun::writePackageId() {
    const std::string ours = job.pkg().packageId.substr(0, kPackageIdChars);
    const std::string theirs = link_->targetInfo.packageId.substr(0, kPackageIdChars);
    if (ours == theirs) return 1;
    link_->setPackageCommand(ours);
    return atNormalRate(&TargetLink::setPackage) == 1 ? 1 : 0;
}

// An unanswered reboot command is not a failure here: the connect that follows decides.
int SerialRun::rebootToUpdateMode() {
    if (link_->openPort(port(), kNormalModeBaud) != 1) return 0;
    if (link_->enterUpdateMode() == 1) {
        host.showStatus(0, "Reboot(Update Mode)...", 0, 0);
        host.waitSeconds(kRebootSettleSeconds);
    }
    link_->closePort();
    return 1;
}

// The port stays open at the update rate from here to the end of the run.
int SerialRun::connectInUpdateMode() {
    if (link_->openPort(port(), job.pkg().baudIndex) != 1) return 0;
    return link_->connectTarget(kSystemMicrocomputer, kUpdateConnectSeconds) == 1 ? 1 : 0;
}

int SerialRun::readProductModel() {
    const uint8_t count = job.pkg().statusEntryCount;
    if (link_->requestInfo(kSystemMicrocomputer, 0, 0, count) != 1) return 0;
    const InfoRecord record = link_->infoAnswer(count);
    char text[8];
    std::snprintf(text, sizeof text, "%04X", record.value & 0xFFFFu);
    job.productModelText = text;
    return 1;
}

int SerialRun::isSameVersion(int position) const { return sameVersion(job.pkg(), link_->targetInfo, position); }

int SerialRun::compareFirmwareType() const { return firmwareTypeChange(job.pkg(), link_->targetInfo); }

int SerialRun::checkNoDowngrade() const { return noDowngrade(job.pkg(), link_->targetInfo); }

}  // namespace tarnwick
