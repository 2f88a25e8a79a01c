#include "history/history_place.h"

#include <cstdlib>

#include "platform/paths.h"

namespace tarnwick {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? std::string(value) : fallback;
}

// The user's state directory's tarnwick/, created.
std::string userStateDir() {
    const std::string dir = userStateDirWithSeparator() + "tarnwick";
    createDirectoryLevel(dir);
    return dir + "/";
}

}  // namespace

std::string historyFilePath(const std::string& option, bool noHistory, bool programDirectory) {
    if (noHistory) return std::string();
    if (!option.empty()) return option;
    const std::string chosen = envOr("TARNWICK_HISTORY", "");
    if (!chosen.empty()) return chosen;
    if (programDirectory) return programDirWithSeparator() + "history.db";
    return userStateDir() + "history.db";
}

}  // namespace tarnwick
