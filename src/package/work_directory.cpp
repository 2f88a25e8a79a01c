#include "package/work_directory.h"

#include <cstdio>
#include <set>

#include "platform/directory_lock.h"

namespace tarnwick {

namespace {

int refuse(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "tarnwick: the work directory %s is not used: %s\n", path.c_str(), why.c_str());
    return 0;
}

// What is wrong with the directory there, empty when nothing is.
std::string judge(const std::string& path, WorkDirRule rule) {
    const DirectoryFacts facts = directoryFacts(path);
    if (!facts.unreadable.empty()) return facts.unreadable;
    if (facts.link) return "it is a symbolic link";
    if (!facts.directory) return "it is not a directory";
    if (facts.otherOwner >= 0) return "it belongs to user " + std::to_string(facts.otherOwner);
    if (facts.othersMayWrite) return "others may write to it";
    if (!facts.groupMayWrite) return {};
    if (rule == WorkDirRule::Private) return "its group may write to it";
    std::fprintf(stderr, "tarnwick: warning: the work directory %s is writable by its group\n", path.c_str());
    return {};
}

// The work directories this process has locked, each held until it ends.
std::set<std::string>& heldLocks() {
    static std::set<std::string> locks;
    return locks;
}

}  // namespace

int prepareWorkDirectory(const std::string& path, WorkDirRule rule) {
    if (const std::string why = makeOwnDirectory(path); !why.empty()) return refuse(path, why);
    if (const std::string why = judge(path, rule); !why.empty()) return refuse(path, why);
    if (heldLocks().count(path) != 0) return 1;
    std::string why;
    switch (lockDirectoryForProcess(path, why)) {
    case DirectoryLock::Locked: break;
    case DirectoryLock::Busy: return refuse(path, "another copy of the program is using it");
    case DirectoryLock::Unopened: return refuse(path, "it cannot be locked: " + why);
    case DirectoryLock::Failed: return refuse(path, why);
    }
    heldLocks().insert(path);
    return 1;
}

bool holdsWorkDirectory(const std::string& path) { return heldLocks().count(path) != 0; }

}  // namespace tarnwick
