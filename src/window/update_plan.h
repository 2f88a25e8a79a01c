// What "Update" would do to each component of the package against what the product
// reported, under the mode chosen and over the route chosen. Nothing is sent to find out.
#pragma once
#include <cstdint>
#include <vector>

#include "window/component_rows.h"

namespace tarnwick {

enum class PlanAction { Update, Pass, Downgrade, TypeChange, NotOverThisLink };

struct PlanLine {
    ComponentRow row;
    PlanAction action = PlanAction::Update;
};

// updateMode 0 "Normal update.", 1 "ALL device update."; routeAttribute: the attribute bit
// of the components the route writes with frames (kAttrRs232c or kAttrEthernetFrames).
std::vector<PlanLine> updatePlan(const UpdatePackage& package, const TargetInfo& product, int updateMode,
                                 uint32_t routeAttribute);

// "update", "pass", "downgrade", "type change", "not over this link".
const char* planActionName(PlanAction action);

}  // namespace tarnwick
