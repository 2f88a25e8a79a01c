// The work directory of a run: created private, judged when it is there already, and
// locked for the run, so that a second copy (under sudo, cron or a service, with another
// runtime directory and so another single-instance lock) never deletes or overwrites the
// component files of a running update.
#pragma once
#include <string>

namespace tarnwick {

enum class WorkDirRule {
    Private,        // the temporary directory's: only its owner may write it
    GroupWritable,  // a station's own Work directory: group-writable is used, with a warning
};

// Creates the directory (mode 0700) or judges the one there, then takes its lock for the
// rest of the process. 1 when it may be used; 0 with why on standard error (a link,
// another owner, writable by others, or locked by another copy: nothing is changed).
[[nodiscard]] int prepareWorkDirectory(const std::string& path, WorkDirRule rule);

// True when this process holds the directory's lock: only then are its files this run's to
// remove when the run is stopped.
bool holdsWorkDirectory(const std::string& path);

}  // namespace tarnwick
