#include "history/history_place.h"

#include <cstdlib>

#include "platform/paths.h"

namespace tarnwick {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? std::string(value) : fallback;
}

// $XDG_STATE_HOME/tarnwick/, each level created.
std::string userStateDir() {
    const std::string home = envOr("HOME", "");
    std::string state = envOr("XDG_STATE_HOME", "");
    if (state.empty()) {
        if (home.empty()) return tempDirWithSeparator();
        createDirectoryLevel(home + "/.local");
        state = home + "/.local/state";
    }
    createDirectoryLevel(state);
    const std::string dir = state + "/tarnwick";
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
