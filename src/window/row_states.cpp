#include "window/row_states.h"

namespace tarnwick {

namespace {
constexpr const char* kSelected = "selected";
constexpr const char* kWriting = "writing...";
constexpr const char* kUpdated = "updated";
constexpr const char* kPassed = "passed";
constexpr const char* kNotAttempted = "not attempted";

}  // namespace

uint32_t routeAttributes(int commType) {
    uint32_t all = 0;
    for (uint32_t b : routeAttributeOrder(commType)) all |= b;
    return all;
}

std::vector<uint32_t> routeAttributeOrder(int commType) {
    if (commType == 0) return {1u};
    if (commType == 1) return {2u, 4u};
    return {};
}

void RowStates::showSelection(const UpdatePackage& package, const Checked& checked, int commType) {
    clear();
    const uint32_t route = routeAttributes(commType);
    for (size_t i = 0; i < text_.size(); ++i) {
        if (package.order[i] == 0) continue;
        if (route != 0 && (package.components[i].attributes & route) == 0) {
            text_[i] = planActionName(PlanAction::NotOverThisLink);
        } else if (checked[i] == 1) {
            text_[i] = kSelected;
        }
    }
}

void RowStates::showPlan(const UpdatePackage& package, const std::vector<PlanLine>& plan) {
    clear();
    size_t line = 0;
    for (size_t i = 0; i < text_.size() && line < plan.size(); ++i) {
        if (package.order[i] != 0) text_[i] = planActionName(plan[line++].action);
    }
}

void RowStates::startRun(const UpdatePackage& package, const Checked& checked, int commType) {
    showSelection(package, checked, commType);
    for (uint32_t bit : routeAttributeOrder(commType)) {
        for (size_t i = 0; i < text_.size(); ++i) {
            if (package.order[i] == 0 || checked[i] != 1 || (package.components[i].attributes & bit) == 0) continue;
            order_.push_back(static_cast<int>(i));
            text_[i] = kNotAttempted;
        }
    }
}

void RowStates::finishCurrent(const std::string& state) {
    if (current_ >= 0 && text_[static_cast<size_t>(current_)] == kWriting) text_[static_cast<size_t>(current_)] = state;
}

void RowStates::reached(int number, bool passed) {
    if (number < 1 || number > linkCount()) return;
    const int position = order_[static_cast<size_t>(number - 1)];
    if (position != current_) {
        finishCurrent(kUpdated);  // the run moved on: the previous one was written and checked
        current_ = position;
        std::string& text = text_[static_cast<size_t>(position)];
        if (text == kNotAttempted) text = kWriting;
    }
    if (passed) text_[static_cast<size_t>(position)] = kPassed;
}

bool RowStates::written(int position) const { return text(position) == kUpdated; }

void RowStates::failed(const std::string& reason) { finishCurrent("failed: " + reason); }

void RowStates::endRun(bool succeeded, const std::string& reason) {
    if (succeeded) finishCurrent(kUpdated);
    else if (!reason.empty()) finishCurrent("failed: " + reason);
    else finishCurrent(kNotAttempted);  // the operator declined before it was written
    current_ = -1;
}

}  // namespace tarnwick
