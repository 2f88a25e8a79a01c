#include "update/sequence_engine.h"

#include <string>

#include "update/version_rules.h"

namespace tarnwick {

int resultCodeFor(uint8_t errorState) {
    switch (errorState) {
        case 0xE0:
        case 0xE2:
        case 0xE3:
        case 0xE6:
        case 0xE7:
        case 0xE8: return 6;   // "Communication error!"
        case 0xE9: return 5;   // the model mismatch
        case 0xE5:             // the network module
        case 0xEA: return 1;   // "Update Failed!"
        case 0xEB: return 9;   // "Package Version Update Error!"
        case 0xEC: return 10;  // "No device to be renewed."
        default: return 7;     // "Illegal processing!"
    }
}

namespace {
bool confirmed(UpdateHost& host, const std::string& question) { return host.askYesNo(question) == kAnswerYes; }
}  // namespace

Outcome confirmRecovery(UpdateHost& host, UpdateJob& job) {
    if (job.updateMode == 1) return Outcome::Success;
    if (!confirmed(host, std::string("Is the recovery update executed?\n\n") + "Note :\n" +
                             " The firmware of all devices is updated!")) {
        return Outcome::Declined;
    }
    job.updateMode = 1;
    host.jobChanged(job);
    return Outcome::Success;
}

Outcome confirmFirmwareType(UpdateHost& host, FirmwareTypeChange change) {
    if (change == FirmwareTypeChange::None) return Outcome::Success;
    const std::string types = change == FirmwareTypeChange::ProductUpgradeFileNormal
                                  ? std::string(" Target Product : Upgrade version\n") + " Firmware file : Normal version\n\n"
                                  : std::string(" Target Product : Normal version\n") + " Firmware file : Upgrade version\n\n";
    const std::string question = std::string("The firmware type is different\n") +
                                 " in the target product and the firmware file!\n\n" + types + "Is the update continued?";
    return confirmed(host, question) ? Outcome::Alternate : Outcome::Declined;
}

Outcome confirmDowngrade(UpdateHost& host, bool noDowngrade) {
    if (noDowngrade) return Outcome::Success;
    if (!confirmed(host, std::string("The firmware version is downgraded!\n\n") + "Is the update continued?")) {
        return Outcome::Declined;
    }
    host.showInfo(std::string("Note :\n") + " After completing the update,\n" + " Set the update notification to OFF\n" +
                  " by the setup menu!");
    return Outcome::Success;
}

Outcome decideNeedsUpdate(const UpdateJob& job, const TargetInfo& info) {
    for (int i = 0; i < kMaxComponents; ++i) {
        if (job.targetChecked[static_cast<size_t>(i)] == 1 && !sameVersion(job.pkg(), info, i)) {
            return Outcome::Success;
        }
    }
    return job.updateMode == 1 ? Outcome::Success : Outcome::Failure;
}

Outcome checkProductModel(const UpdateJob& job) {
    return job.productModelText == job.pkg().modelCode ? Outcome::Success : Outcome::Failure;
}

Outcome reportCompleted(UpdateHost& host) {
    host.reportResult(0);
    return Outcome::Success;
}

}  // namespace tarnwick
