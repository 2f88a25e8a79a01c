// A directory a run keeps its files in: made for this user alone, looked at before it is
// trusted when it is there already, and locked for the rest of the process so that a
// second copy of the program (under another account, cron or a service) leaves it alone.
#pragma once
#include <string>

namespace tarnwick {

// Creates the directory, only its owner may use it; empty when made or already there,
// else why.
std::string makeOwnDirectory(const std::string& path);

// What is at path, the link itself when it is a link.
struct DirectoryFacts {
    std::string unreadable;  // why it cannot be looked at; empty when it can
    bool link = false;
    bool directory = false;
    long otherOwner = -1;  // the owner's user id when it is not this user, else -1
    bool othersMayWrite = false;
    bool groupMayWrite = false;
};
DirectoryFacts directoryFacts(const std::string& path);

enum class DirectoryLock {
    Locked,    // held by this process until it ends
    Busy,      // another process holds it
    Unopened,  // the directory cannot be opened to be locked (why says why)
    Failed,    // the lock cannot be taken (why says why)
};
// Locks the directory for the rest of the process; taking it twice is not detected here.
[[nodiscard]] DirectoryLock lockDirectoryForProcess(const std::string& path, std::string& why);

}  // namespace tarnwick
