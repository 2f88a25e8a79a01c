// Where the history file is, and the facts of a run the front ends add to its record.
#pragma once
#include <string>

namespace tarnwick {

// The history file: "" when --no-history; else --history FILE, else $TARNWICK_HISTORY,
// else history.db in the program directory for a station or the line (so a line's stations
// share one record), else $XDG_STATE_HOME/tarnwick/history.db (~/.local/state/tarnwick/).
// The directories of the default place are created.
std::string historyFilePath(const std::string& option, bool noHistory, bool programDirectory);

// The SHA-256 of a file as 64 lower-case hex digits; "" when it cannot be read.
std::string sha256OfFile(const std::string& path);

// This machine's host name.
std::string hostName();

}  // namespace tarnwick
