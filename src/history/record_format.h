// Run records as people and programs read them: the summary after a run, the history's
// table, one run in full, JSON and CSV.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "history/run_record.h"

namespace tarnwick {

// Whether the run wrote, passed or failed any component (a run that ended before the first
// has no summary to show).
bool handledAnyComponent(const RunRecord& run);
// One line a component, "01:MAIN         1.05          updated".
std::string summaryText(const RunRecord& run);
// The components as the summary event lists them.
nlohmann::json componentsJson(const RunRecord& run);
nlohmann::json runJson(const RunRecord& run);
// One line a run, newest first as given, under a heading.
std::string historyTable(const std::vector<RunRecord>& runs);
// Everything the record holds.
std::string runText(const RunRecord& run);
// A heading and one row per component of each run (a run without components gets one row).
std::string historyCsv(const std::vector<RunRecord>& runs);

}  // namespace tarnwick
