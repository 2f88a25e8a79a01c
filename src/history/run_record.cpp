#include "history/run_record.h"

#include <array>
#include <utility>

namespace tarnwick {

namespace {

constexpr std::array<std::pair<RunKind, const char*>, 3> kKinds = {{
    {RunKind::Update, "update"},
    {RunKind::Check, "check"},
    {RunKind::Info, "info"},
}};

constexpr std::array<std::pair<ComponentOutcome, const char*>, 6> kOutcomes = {{
    {ComponentOutcome::Writing, "writing"},
    {ComponentOutcome::Updated, "updated"},
    {ComponentOutcome::Passed, "passed"},
    {ComponentOutcome::Failed, "failed"},
    {ComponentOutcome::NotAttempted, "not attempted"},
    {ComponentOutcome::NotOverLink, "not over this link"},
}};

template <typename Enum, size_t N>
const char* nameOf(const std::array<std::pair<Enum, const char*>, N>& table, Enum value) {
    for (const auto& row : table) {
        if (row.first == value) return row.second;
    }
    return "";
}

template <typename Enum, size_t N>
bool valueOf(const std::array<std::pair<Enum, const char*>, N>& table, const std::string& text, Enum& value) {
    for (const auto& row : table) {
        if (text == row.second) {
            value = row.first;
            return true;
        }
    }
    return false;
}

}  // namespace

const char* kindName(RunKind kind) { return nameOf(kKinds, kind); }
const char* outcomeName(ComponentOutcome outcome) { return nameOf(kOutcomes, outcome); }
bool kindFromName(const std::string& text, RunKind& kind) { return valueOf(kKinds, text, kind); }
bool outcomeFromName(const std::string& text, ComponentOutcome& outcome) { return valueOf(kOutcomes, text, outcome); }

}  // namespace tarnwick
