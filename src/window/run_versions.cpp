#include "window/run_versions.h"

namespace tarnwick {

void RunVersions::startRun(const TargetInfo* checked) {
    clear();
    if (checked != nullptr) product_ = *checked;
    started_ = true;  // what was written is shown even when nothing said what it replaced
}

void RunVersions::heard(const TargetInfo* product) {
    if (fromRun_ || product == nullptr || product->slotVersions[0].empty()) return;
    product_ = *product;
    started_ = true;
    fromRun_ = true;
}

}  // namespace tarnwick
