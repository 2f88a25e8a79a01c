// Where run records are kept: one small interface, so that a store shared by the PCs of a
// whole line can sit beside the local file without the procedures or the front ends
// changing. A store never throws; a failure to record is the store's own business.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/run_record.h"

namespace tarnwick {

struct HistoryQuery {
    std::string serialNumber;  // "" any
    std::string model;         // "" any
    std::string since;         // runs started at or after this UTC date or time; "" any
    enum class Result { Any, Ok, Failed } result = Result::Any;
    int limit = 0;             // 0: no limit
};

class HistoryStore {
public:
    virtual ~HistoryStore() = default;
    // Stores the run and gives it its run id (0 when it was not stored).
    virtual int64_t recordRun(const RunRecord& run) = 0;
    // Runs matching the query, newest first, with their components.
    virtual std::vector<RunRecord> queryRuns(const HistoryQuery& query) = 0;
    virtual std::optional<RunRecord> findRun(int64_t runId) = 0;
};

}  // namespace tarnwick
