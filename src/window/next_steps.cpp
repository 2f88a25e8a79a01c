#include "window/next_steps.h"

#include "window/update_plan.h"

namespace tarnwick {

const char* const kRecoveryQuestionSubject =
    "The product is in its update mode: its last update was broken off. Yes writes every selected component "
    "(\"ALL device update.\"); No leaves the product as it is.";

const char* const kStillInUpdateModeWarning =
    "Warning: the product did not confirm its return to the normal mode and may still be in its update mode. "
    "Switch it off and on; if it does not start normally, run the update again.";

std::string questionSubject(const UpdatePackage& package, const TargetInfo& product, int updateMode,
                            uint32_t routeAttributes) {
    std::string subject;
    for (const PlanLine& line : updatePlan(package, product, updateMode, routeAttributes)) {
        if (line.action != PlanAction::Downgrade && line.action != PlanAction::TypeChange) continue;
        subject += (subject.empty() ? "The question is about " : "; ") + line.row.id + ":" + line.row.name + " (" +
                   planActionName(line.action) + "): package " + line.row.packageVersion + ", product " +
                   (line.row.productVersion.empty() ? "unknown" : line.row.productVersion);
    }
    return subject.empty() ? subject : subject + ".";
}

std::string noAnswerChecklist(int commType, const std::string& address) {
    if (commType == 1) {
        return "The product did not answer. Check: the network cable and that this computer reaches " + address +
               "; the product's power; that " + address +
               " is the product's address; that ports 23 and 5000 are not blocked; the product's mode "
               "(normal, or update after a broken update).";
    }
    return "The product did not answer. Check: the cable and the port chosen; the product's power; the bit rate; "
           "the product's mode (normal, or update after a broken update).";
}

}  // namespace tarnwick
