// The versions the product reported before the last update, kept after the run so that the
// component table still shows what each row held, and for the rows written what replaced it,
// until the next Load, check or update.
#pragma once
#include "link/target_info.h"

namespace tarnwick {

class RunVersions {
public:
    void clear() { *this = RunVersions{}; }
    // An update starts; checked: the answer of the last good check, null when none is known.
    void startRun(const TargetInfo* checked);
    // What the run's link holds now; its first answer with versions replaces the check's.
    void heard(const TargetInfo* product);
    // The versions before the run (none known: empty), null when no run since the last Load or check.
    const TargetInfo* before() const { return started_ ? &product_ : nullptr; }

private:
    TargetInfo product_;
    bool started_ = false;  // an update started since the last Load or check
    bool fromRun_ = false;  // the run's own answer: later answers may already be the new versions
};

}  // namespace tarnwick
