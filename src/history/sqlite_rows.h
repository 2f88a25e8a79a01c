// Run records to and from the history file's rows.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "history/history_store.h"

struct sqlite3;

namespace tarnwick {

// One transaction: the run and its components; the new run id, or 0 when it failed.
int64_t insertRun(sqlite3* db, const RunRecord& run);
std::vector<RunRecord> selectRuns(sqlite3* db, const HistoryQuery& query);
std::optional<RunRecord> selectRun(sqlite3* db, int64_t runId);

}  // namespace tarnwick
