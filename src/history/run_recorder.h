// Builds a run's record from what the run shows the operator: it listens beside the host
// like any other listener and has no say in the run. Every component of the package gets
// one line, decided as the run goes: "Updating start..." or, for the network module, the
// first line about the component begins it; "Pass update." passes it; a failure report or a
// failing result ends the one being handled; the run's end leaves the rest not attempted.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>

#include "history/run_record.h"
#include "link/target_info.h"
#include "update/update_job.h"
#include "update/update_observer.h"

namespace tarnwick {

// What the front end knows of a run that the job does not say.
struct RunContext {
    RunKind kind = RunKind::Update;
    std::string frontEnd;
    std::string packageFile;  // "" when no package takes part
    bool ethernet = false;
    std::string startUtc;
};

class RunRecorder final : public UpdateObserver {
public:
    // A new record for a run on job; its package (when set) lists the components.
    void begin(const RunContext& context, const UpdateJob& job);
    // The run's end: what the product reported of itself (null when nothing), the result
    // code (-1 for none) and the time.
    void finish(const TargetInfo* reported, int resultCode, const std::string& endUtc);
    // The record as it stands, ended now by an interruption: taken from another thread
    // while the run goes on.
    RunRecord interruptedRecord(const std::string& endUtc) const;
    // The id the history gave the record (0: not stored).
    void stored(int64_t runId) {
        const std::lock_guard<std::mutex> lock(mutex_);
        record_.runId = runId;
    }

    void statusShown(uint8_t targetId, const std::string& line, int showProgress, int percent) override;
    void boxShown(BoxKind kind, const std::string& text) override;
    void failureReported(const ErrorRecord& record, const std::string& text) override;
    void resultReported(int code, const std::string& text) override;

    const RunRecord& record() const { return record_; }
    bool active() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return job_ != nullptr;
    }

private:
    ComponentRecord* find(uint8_t id);
    ComponentRecord* handling();
    // The component being handled ends as written and checked.
    void finishHandling();
    void start(uint8_t id, ComponentOutcome outcome, const std::string& reason);
    bool isModuleComponent(uint8_t id) const;

    mutable std::mutex mutex_;  // the run's thread against an interruption's
    const UpdateJob* job_ = nullptr;
    RunRecord record_;
    int handling_ = -1;  // index of the component being handled, -1 none
};

// The time now as "YYYY-MM-DDTHH:MM:SSZ".
std::string utcNow();

}  // namespace tarnwick
