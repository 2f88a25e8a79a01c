// The update sequence as a state table: one step per state, each step's outcome selects
// the next state; an error state (0xE0 and up) ends the run with one result report, a
// declined confirmation ends it without one. A route (RS-232C, Ethernet) gives its table
// and its steps; the runner, the confirmations and the result mapping are shared.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "link/target_info.h"
#include "update/update_host.h"
#include "update/update_job.h"
#include "update/version_rules.h"

namespace tarnwick {

enum class Outcome { Success, Alternate, Failure, Declined };

constexpr uint8_t kFinished = 0xFF;    // after the one report
constexpr uint8_t kUnexpected = 0xEF;  // a step outcome its row does not expect

template <class Run>
struct StateRow {
    Outcome (*step)(Run&);
    uint8_t onSuccess;
    uint8_t onAlternate;
    uint8_t onFailure;
};

// The result code an error state reports.
[[nodiscard]] int resultCodeFor(uint8_t errorState);

// Runs the table from state 0 to its end, to an error state or to a declined confirmation.
template <class Run, size_t N>
void runSequence(const std::array<StateRow<Run>, N>& states, Run& run, UpdateHost& host) {
    uint8_t state = 0;
    while (state != kFinished) {
        if (state >= N) {
            host.reportResult(resultCodeFor(state));
            return;
        }
        const StateRow<Run>& row = states[state];
        switch (row.step(run)) {
            case Outcome::Success: state = row.onSuccess; break;
            case Outcome::Alternate: state = row.onAlternate; break;
            case Outcome::Failure: state = row.onFailure; break;
            case Outcome::Declined: return;
        }
    }
}

// --- steps every route shares ---

inline Outcome fromResult(bool succeeded) { return succeeded ? Outcome::Success : Outcome::Failure; }

// After a successful recovery connect: a product in its update mode had its update
// interrupted; rewrite every selected component if the operator agrees (the job then
// becomes "ALL device update.").
Outcome confirmRecovery(UpdateHost& host, UpdateJob& job);

// Success when the types match, Alternate when they differ and the operator goes on.
Outcome confirmFirmwareType(UpdateHost& host, FirmwareTypeChange change);

// noDowngrade as the rule gives it: Success when nothing is older, or when the operator
// goes on (after a note).
Outcome confirmDowngrade(UpdateHost& host, bool noDowngrade);

// Success when a selected component differs from the product, or for "ALL device update.".
Outcome decideNeedsUpdate(const UpdateJob& job, const TargetInfo& info);

// Success when the model the product reported is the package's.
Outcome checkProductModel(const UpdateJob& job);

// Reports "Update completed." (result 0).
Outcome reportCompleted(UpdateHost& host);

}  // namespace tarnwick
