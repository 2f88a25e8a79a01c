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

ProcedureRun::ProcedureRun(UpdateJob& runJob, UpdateHost& runHost, std::unique_ptr<TargetLink> link)
    : job(runJob), host(runHost), link_(std::move(link)) {
    link_->setOwner(&host);
    if (!job.tracePath.empty()) link_->setTrace(job.tracePath);
    host.attachLink(link_.get());
}

ProcedureRun::~ProcedureRun() { host.attachLink(nullptr); }

int ProcedureRun::inNormalMode(int (TargetLink::*command)()) {
    if (openFor(PortUse::Command) != 1) return kNotReached;
    const int answered = ((*link_).*command)();
    closeLinkPort();
    return answered;
}

int ProcedureRun::testPort() {
    if (openFor(PortUse::NormalMode) != 1) return 0;
    closeLinkPort();
    return 1;
}

int ProcedureRun::probeNormalMode() {
    if (openFor(PortUse::NormalMode) != 1) return 0;
    const int answered = link_->queryTargetInfo();
    closeLinkPort();
    return answered == 1 ? 1 : 0;
}

int ProcedureRun::connectForRecovery() {
    if (openFor(PortUse::Recovery) != 1) return 0;
    const int connected = link_->connectTarget(kSystemMicrocomputer, kProbeConnectWait);
    closeLinkPort();
    return connected == 1 ? 1 : 0;
}

// The port or connection stays open from here to the end of the components.
int ProcedureRun::connectInUpdateMode() {
    if (openFor(PortUse::UpdateMode) != 1) return 0;
    return link_->connectTarget(kSystemMicrocomputer, kConnectWait) == 1 ? 1 : 0;
}

// The product may still be starting its components: it reports missing versions (or
// "B0000"/"I0000") for a while. Asks again, 10 seconds apart, then goes on regardless.
int ProcedureRun::readProductVersions() {
    for (int retries = 0;; ++retries) {
        const int answered = inNormalMode(&TargetLink::queryTargetInfo);
        if (answered == kNotReached) return 0;
        if (answered != 1 && job.updateMode == 0) return 0;
        if (link_->versionsValid() == 1) return 1;
        if (retries >= kVersionRequeries) return 1;
        host.waitSeconds(kVersionRequeryWait);
    }
}

int ProcedureRun::writePackageId() {
    const std::string ours = job.pkg().packageId.substr(0, kPackageIdChars);
    const std::string theirs = link_->targetInfo.packageId.substr(0, kPackageIdChars);
    if (ours == theirs) return 1;
    link_->setPackageCommand(ours);
    return inNormalMode(&TargetLink::setPackage) == 1 ? 1 : 0;
}

int ProcedureRun::readProductModel() {
    const uint8_t count = job.pkg().statusEntryCount;
    if (link_->requestInfo(kSystemMicrocomputer, 0, 0, count) != 1) return 0;
    const InfoRecord record = link_->infoAnswer(count);
    char text[8];
    std::snprintf(text, sizeof text, "%04X", record.value & 0xFFFFu);
    job.productModelText = text;
    return 1;
}

int ProcedureRun::updateTargets() {
    uint8_t previousId = 0;  // the product is connected as target 1 when the run starts
    for (int i = 0; i < kMaxComponents; ++i) {
        const ComponentEntry& c = job.pkg().components[static_cast<size_t>(i)];
        if (job.targetChecked[static_cast<size_t>(i)] != 1 || !c.hasAttribute(routeAttribute())) continue;
        ++job.currentNumber;
        if (job.updateMode == 0 && isSameVersion(i) == 1) {
            host.showStatus(c.id, "Pass update.", 0, 0);
            host.waitSeconds(kPassWait);
            continue;
        }
        if (updateComponent(i, previousId) != 1) return 0;
    }
    return 1;
}

// Writes and checks the component at position; 1 when it is good. previousId is the
// target the product was last switched to.
int ProcedureRun::updateComponent(int position, uint8_t& previousId) {
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
    host.waitSeconds(writeSettleWait(c));
    return checkWrittenComponent(*link_, host, job, position, buffer.get());
}

int ProcedureRun::switchToTarget(uint8_t fromId, uint8_t toId) {
    const UpdatePackage& package = job.pkg();
    const uint8_t position = package.positionOf(toId);
    if (position == kNoPosition) return 0;
    std::vector<SwitchHop> hops;
    if (!planSwitchHops(package.components[position].switchPath, fromId, toId, hops)) return 0;
    for (const SwitchHop& hop : hops) {
        if (switchHop(hop.from, hop.to) != 1) return 0;
    }
    return hops.empty() ? 0 : 1;
}

int ProcedureRun::isSameVersion(int position) const { return sameVersion(job.pkg(), link_->targetInfo, position); }

int ProcedureRun::compareFirmwareType() const { return firmwareTypeChange(job.pkg(), link_->targetInfo); }

int ProcedureRun::checkNoDowngrade() const { return noDowngrade(job.pkg(), link_->targetInfo); }

}  // namespace tarnwick
