#include "window/update_plan.h"

#include "update/version_rules.h"

namespace tarnwick {

namespace {

PlanAction actionFor(const UpdatePackage& package, const TargetInfo& product, int position, int updateMode,
                     uint32_t routeAttribute) {
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    if (!c.hasAttribute(routeAttribute)) return PlanAction::NotOverThisLink;
    if (updateMode == 0 && sameVersion(package, product, position)) return PlanAction::Pass;
    if (c.id == 1 && firmwareTypeChange(package, product) != FirmwareTypeChange::None) return PlanAction::TypeChange;
    if (olderThanProduct(c, product)) return PlanAction::Downgrade;
    return PlanAction::Update;
}

}  // namespace

std::vector<PlanLine> updatePlan(const UpdatePackage& package, const TargetInfo& product, int updateMode,
                                 uint32_t routeAttribute) {
    const std::vector<ComponentRow> rows = componentRows(package, &product);
    std::vector<PlanLine> plan;
    for (int p = 0; p < kMaxComponents && plan.size() < rows.size(); ++p) {
        if (package.order[static_cast<size_t>(p)] == 0) continue;
        plan.push_back({rows[plan.size()], actionFor(package, product, p, updateMode, routeAttribute)});
    }
    return plan;
}

const char* planActionName(PlanAction action) {
    switch (action) {
        case PlanAction::Update: return "update";
        case PlanAction::Pass: return "pass";
        case PlanAction::Downgrade: return "downgrade";
        case PlanAction::TypeChange: return "type change";
        case PlanAction::NotOverThisLink: return "not over this link";
    }
    return "";
}

}  // namespace tarnwick
