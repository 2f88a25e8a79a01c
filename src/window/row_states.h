// What the component table says of each row beside the versions, so that the operator
// sees what will be, or was, written: after Load which rows are selected and which cannot
// go over the chosen link; after a check the plan; after an update the outcome.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "package/update_package.h"
#include "window/update_plan.h"

namespace tarnwick {

// The attribute bits of the components a link writes, in the order the run writes them:
// RS-232C the frames (bit 0); Ethernet the frames (bit 1), then the network module (bit 2).
std::vector<uint32_t> routeAttributeOrder(int commType);
// All of them: a component with none of these bits does not go over the link.
uint32_t routeAttributes(int commType);

class RowStates {
public:
    using Checked = std::array<int, kMaxComponents>;

    void clear() { *this = RowStates{}; }
    // "selected", "not over this link" or nothing, by the selection and the link.
    void showSelection(const UpdatePackage& package, const Checked& checked, int commType);
    // The plan of each row, in package order (the rows of componentRows).
    void showPlan(const UpdatePackage& package, const std::vector<PlanLine>& plan);

    // A run starts: the rows the link will write, in order, are not attempted yet.
    void startRun(const UpdatePackage& package, const Checked& checked, int commType);
    // How many components this link writes in the run.
    int linkCount() const { return static_cast<int>(order_.size()); }
    // The run handles its number-th component (counted from 1); passed: it is left as it is.
    void reached(int number, bool passed);
    // The component in hand failed, for this reason.
    void failed(const std::string& reason);
    // The run ended: the component in hand was written when it succeeded, else it failed.
    void endRun(bool succeeded, const std::string& reason);

    const std::string& text(int position) const { return text_[static_cast<size_t>(position)]; }
    // The last run wrote this row's component.
    bool written(int position) const;

private:
    void finishCurrent(const std::string& state);

    std::array<std::string, kMaxComponents> text_{};
    std::vector<int> order_;  // positions the link writes, in the run's order
    int current_ = -1;        // position in hand, -1 none
};

}  // namespace tarnwick
