#include "cli/update_summary.h"

#include <cstdio>

#include "update/check_methods.h"

namespace tarnwick {

namespace {

// The lines of a box's text as one line.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
            continue;
        }
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

const char* outcomeName(ComponentOutcome outcome) {
    switch (outcome) {
        case ComponentOutcome::Writing: return "writing";
        case ComponentOutcome::Updated: return "updated";
        case ComponentOutcome::Passed: return "passed";
        case ComponentOutcome::Failed: return "failed";
    }
    return "";
}

ComponentResult* UpdateSummary::writing() {
    if (components_.empty() || components_.back().outcome != ComponentOutcome::Writing) return nullptr;
    return &components_.back();
}

void UpdateSummary::finishWriting() {
    if (ComponentResult* c = writing()) c->outcome = ComponentOutcome::Updated;
}

void UpdateSummary::begin(uint8_t id, ComponentOutcome outcome, const std::string& reason) {
    finishWriting();
    const ComponentEntry* entry = job_.package != nullptr ? job_.pkg().componentById(id) : nullptr;
    ComponentResult c;
    c.id = id;
    if (entry != nullptr) {
        c.name = entry->name;
        c.version = entry->versionLabel.empty() ? entry->versionText : entry->versionLabel;
    }
    c.outcome = outcome;
    c.reason = reason;
    components_.push_back(c);
}

// A component's handling begins with "Updating start..." or is the one "Pass update." line;
// a line of the run's own (target 0) comes only after its checks.
void UpdateSummary::statusShown(uint8_t targetId, const std::string& line, int, int) {
    if (targetId == 0) {
        finishWriting();
    } else if (line == "Pass update.") {
        begin(targetId, ComponentOutcome::Passed, "same version");
    } else if (line == "Updating start...") {
        begin(targetId, ComponentOutcome::Writing, "");
    }
}

void UpdateSummary::failureReported(const ErrorRecord& record, const std::string& text) {
    ComponentResult* c = writing();
    if (c == nullptr || c->id != static_cast<uint8_t>(record.targetId)) return;
    c->outcome = ComponentOutcome::Failed;
    c->reason = oneLine(text);
}

// A component still being written when the run fails failed without a report of its own:
// its write method has no check, or the result says why.
void UpdateSummary::resultReported(int code, const std::string& text) {
    ComponentResult* c = writing();
    if (c == nullptr) return;
    if (code == 0) {
        c->outcome = ComponentOutcome::Updated;
        return;
    }
    c->outcome = ComponentOutcome::Failed;
    const ComponentEntry* entry = job_.package != nullptr ? job_.pkg().componentById(c->id) : nullptr;
    if (entry != nullptr && checkMethodFor(entry->writeMethod, job_.checkMode) == CheckMethod::Fail) {
        c->reason = "no check method for write method " + std::to_string(entry->writeMethod);
    } else {
        c->reason = oneLine(text);
    }
}

std::string UpdateSummary::text() const {
    std::string out;
    for (const ComponentResult& c : components_) {
        char line[160];
        std::snprintf(line, sizeof line, "%02X:%-12s %-20s %s", c.id, c.name.c_str(), c.version.c_str(),
                      outcomeName(c.outcome));
        out += line;
        if (!c.reason.empty()) out += (c.outcome == ComponentOutcome::Failed ? ": " : " (") + c.reason;
        if (c.outcome == ComponentOutcome::Passed) out += ")";
        out += "\n";
    }
    return out;
}

}  // namespace tarnwick
