// What an update did to each component it handled, gathered from what the run showed:
// updated, passed (same version) or failed with the reason the run knew.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "update/update_job.h"
#include "update/update_observer.h"

namespace tarnwick {

enum class ComponentOutcome { Writing, Updated, Passed, Failed };

struct ComponentResult {
    uint8_t id = 0;
    std::string name;
    std::string version;  // the package's
    ComponentOutcome outcome = ComponentOutcome::Writing;
    std::string reason;   // of a failure, or "same version" for a pass
};

class UpdateSummary : public UpdateObserver {
public:
    // job: the window's job; its package and check mode are read as the run goes.
    explicit UpdateSummary(const UpdateJob& job) : job_(job) {}

    void statusShown(uint8_t targetId, const std::string& line, int showProgress, int percent) override;
    void failureReported(const ErrorRecord& record, const std::string& text) override;
    void resultReported(int code, const std::string& text) override;

    const std::vector<ComponentResult>& components() const { return components_; }
    // One line a component, "01:MAIN      0200      updated".
    std::string text() const;

private:
    void begin(uint8_t id, ComponentOutcome outcome, const std::string& reason);
    // The component being written ends as written and checked.
    void finishWriting();
    ComponentResult* writing();

    const UpdateJob& job_;
    std::vector<ComponentResult> components_;
};

const char* outcomeName(ComponentOutcome outcome);

}  // namespace tarnwick
