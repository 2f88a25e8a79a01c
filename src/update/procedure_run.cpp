// The steps the RS-232C and the Ethernet update share: the product's versions, the package
// id, the product's model, and the component updates in position order.
#include "update/procedure_run.h"

#include <cstdio>
#include <vector>

#include "update/component_checks.h"
#include "update/switch_path.h"
#include "update/update_timeouts.h"
#include "update/version_rules.h"

namespace tarnwick {

namespace {
constexpr int kVersionRequeries = 6;
constexpr size_t kPackageIdChars = 4;
}  // namespace

ProcedureRun::ProcedureRun(UpdateJob& runJob, UpdateHost& runHost, Transport& transport, Clock& clock)
    : job(runJob), host(runHost), link_(std::make_unique<TargetLink>(transport, clock)) {
    link_->setOwner(&host);
    // A trace file that cannot be created leaves the run untraced, nothing more.
    if (!job.tracePath.empty()) (void)link_->setTrace(job.tracePath);
    host.attachLink(link_.get());
}

ProcedureRun::~ProcedureRun() { host.attachLink(nullptr); }

ProcedureRun::NormalModeAnswer ProcedureRun::inNormalMode(bool (TargetLink::*command)()) {
    if (!openFor(PortUse::Command)) return NormalModeAnswer::NotReached;
    const bool answered = ((*link_).*command)();
    closeLinkPort();
    return answered ? NormalModeAnswer::Answered : NormalModeAnswer::Unanswered;
}

bool ProcedureRun::testPort() {
    if (!openFor(PortUse::NormalMode)) return false;
    closeLinkPort();
    return true;
}

bool ProcedureRun::probeNormalMode() {
    if (!openFor(PortUse::NormalMode)) return false;
    const bool answered = link_->queryTargetInfo();
    closeLinkPort();
    return answered;
}

bool ProcedureRun::connectForRecovery() {
    if (!openFor(PortUse::Recovery)) return false;
    const bool connected = link_->connectTarget(kSystemMicrocomputer, kProbeConnectWait);
    closeLinkPort();
    return connected;
}

// The port or connection stays open from here to the end of the components.
bool ProcedureRun::connectInUpdateMode() {
    if (!openFor(PortUse::UpdateMode)) return false;
    return link_->connectTarget(kSystemMicrocomputer, kConnectWait);
}

// The product may still be starting its components: it reports missing versions (or
// "B0000"/"I0000") for a while. Asks again, 10 seconds apart, then goes on regardless.
bool ProcedureRun::readProductVersions() {
    for (int retries = 0;; ++retries) {
        const NormalModeAnswer answer = inNormalMode(&TargetLink::queryTargetInfo);
        if (answer == NormalModeAnswer::NotReached) return false;
        if (answer == NormalModeAnswer::Unanswered && job.updateMode == 0) return false;
        if (link_->versionsValid()) return true;
        if (retries >= kVersionRequeries) return true;
        host.waitSeconds(kVersionRequeryWait);
    }
}

bool ProcedureRun::writePackageId() {
    const std::string ours = job.pkg().packageId.substr(0, kPackageIdChars);
    const std::string theirs = link_->targetInfo.packageId.substr(0, kPackageIdChars);
    if (ours == theirs) return true;
    link_->setPackageCommand(ours);
    return inNormalMode(&TargetLink::setPackage) == NormalModeAnswer::Answered;
}

bool ProcedureRun::readProductModel() {
    const uint8_t count = job.pkg().statusEntryCount;
    if (!link_->requestInfo(kSystemMicrocomputer, 0, 0, count)) return false;
    const InfoRecord record = link_->infoAnswer(count);
    char text[8];
    std::snprintf(text, sizeof text, "%04X", record.value & 0xFFFFu);
    job.productModelText = text;
    return true;
}

bool ProcedureRun::updateTargets() {
    uint8_t previousId = 0;  // the product is connected as target 1 when the run starts
    for (int i = 0; i < kMaxComponents; ++i) {
        const ComponentEntry& c = job.pkg().components[static_cast<size_t>(i)];
        if (job.targetChecked[static_cast<size_t>(i)] != 1 || !c.hasAttribute(routeAttribute())) continue;
        ++job.currentNumber;
        if (job.updateMode == 0 && isSameVersion(i)) {
            host.showStatus(c.id, "Pass update.", 0, 0);
            host.waitSeconds(kPassWait);
            continue;
        }
        if (!updateComponent(i, previousId)) return false;
    }
    return true;
}

// Writes and checks the component at position; true when it is good. previousId is the
// target the product was last switched to.
bool ProcedureRun::updateComponent(int position, uint8_t& previousId) {
    const ComponentEntry& c = job.pkg().components[static_cast<size_t>(position)];
    const uint8_t id = c.id;
    const uint8_t from = previousId;
    previousId = id;
    if (id != kSystemMicrocomputer && id != from && !switchToTarget(from, id)) return false;
    host.showStatus(id, "Updating start...", 0, 0);

    uint32_t length = 0;
    const std::unique_ptr<uint8_t[]> buffer = loadComponentBuffer(job, position, length);
    if (!buffer) return false;
    if (!link_->eraseAndWrite(id, c.versionNumber, c.startAddress, c.endAddress, buffer.get(), length)) return false;
    host.waitSeconds(writeSettleWait(c));
    return checkWrittenComponent(*link_, host, job, position, buffer.get(), length);
}

bool ProcedureRun::switchToTarget(uint8_t fromId, uint8_t toId) {
    const UpdatePackage& package = job.pkg();
    const uint8_t position = package.positionOf(toId);
    if (position == kNoPosition) return false;
    std::vector<SwitchHop> hops;
    if (!planSwitchHops(package.components[position].switchPath, fromId, toId, hops)) return false;
    for (const SwitchHop& hop : hops) {
        if (!switchHop(hop.from, hop.to)) return false;
    }
    return !hops.empty();
}

bool ProcedureRun::isSameVersion(int position) const { return sameVersion(job.pkg(), link_->targetInfo, position); }

FirmwareTypeChange ProcedureRun::compareFirmwareType() const {
    return firmwareTypeChange(job.pkg(), link_->targetInfo);
}

bool ProcedureRun::checkNoDowngrade() const { return noDowngrade(job.pkg(), link_->targetInfo); }

}  // namespace tarnwick
