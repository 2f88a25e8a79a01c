// Where the history file is, and the facts of a run the front ends add to its record.
#pragma once
#include <string>

#include "platform/file_digest.h"  // the package's SHA-256 in a record
#include "platform/host_name.h"    // the host in a record

namespace tarnwick {

// The history file: "" when --no-history; else --history FILE, else $TARNWICK_HISTORY,
// else history.db in the program directory for a station or the line (so a line's stations
// share one record), else $XDG_STATE_HOME/tarnwick/history.db (~/.local/state/tarnwick/).
// The directories of the default place are created.
std::string historyFilePath(const std::string& option, bool noHistory, bool programDirectory);

}  // namespace tarnwick
