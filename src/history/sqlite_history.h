// The history in an SQLite file (WAL mode, a busy time-out, so that the stations of a line
// can record into one file at once). Opening never fails the caller: a file that cannot be
// opened or written gives one warning and the store records nothing from then on; a
// damaged file is moved aside (name + ".damaged-" + the time) and a new one started.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "history/history_store.h"

namespace tarnwick {

using HistoryWarning = std::function<void(const std::string& line)>;

// A store on path; never null. warn hears at most one line over the store's life.
std::unique_ptr<HistoryStore> openSqliteHistory(const std::string& path, HistoryWarning warn);

// The front ends' store: the SQLite file at path with warnings on standard error, or null
// when path is "" (no history kept).
std::unique_ptr<HistoryStore> openHistoryForRuns(const std::string& path);

}  // namespace tarnwick
