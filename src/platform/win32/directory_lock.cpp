#include "platform/directory_lock.h"

#include <winsock2.h>
#include <windows.h>

#include "platform/os_error_text.h"

namespace tarnwick {

namespace {
// Held open by the copy that uses the directory, shared with no one, and gone with the
// process that held it.
constexpr const char* kLockFileName = "\\tarnwick.lock";
}  // namespace

// A new directory takes the access list of the one it is made in: the temporary directory
// of a user is that user's alone.
std::string makeOwnDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS) {
        return osErrorText(static_cast<int>(GetLastError()));
    }
    return {};
}

// A link is a reparse point (a symbolic link or a junction). Owners and who may write are
// access lists here, not mode bits: the directory is taken as the user's own.
DirectoryFacts directoryFacts(const std::string& path) {
    DirectoryFacts facts;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        facts.unreadable = osErrorText(static_cast<int>(GetLastError()));
        return facts;
    }
    facts.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    facts.directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return facts;
}

// A directory cannot be locked by itself here: a lock file in it is opened with no
// sharing at all and deleted when its handle closes, so it goes when the process ends,
// however it ends. The handle is never closed before.
DirectoryLock lockDirectoryForProcess(const std::string& path, std::string& why) {
    const HANDLE file = CreateFileA((path + kLockFileName).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) return DirectoryLock::Locked;
    const DWORD cause = GetLastError();
    if (cause == ERROR_SHARING_VIOLATION) return DirectoryLock::Busy;
    why = osErrorText(static_cast<int>(cause));
    return cause == ERROR_PATH_NOT_FOUND ? DirectoryLock::Unopened : DirectoryLock::Failed;
}

}  // namespace tarnwick
