#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace tarnwick {

namespace {
std::string withSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}
}  // namespace

std::string tempDirWithSeparator() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && *tmp != '\0') return withSeparator(tmp);
    return "/tmp/";
}

std::string executablePath() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

std::string programDirWithSeparator() {
    const char* dir = std::getenv("TARNWICK_PROGRAM_DIR");
    if (dir != nullptr && *dir != '\0') return withSeparator(dir);
    std::string path = executablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    path.resize(slash + 1);
#if defined(TARNWICK_INSTALL_BINDIR) && defined(TARNWICK_INSTALL_DATADIR)
    // An installed program keeps its station directories in its data directory, not beside
    // the executable in a system bin directory.
    if (path == withSeparator(TARNWICK_INSTALL_BINDIR)) return withSeparator(TARNWICK_INSTALL_DATADIR);
#endif
    return path;
}

std::string programDrive() { return "/"; }

std::string currentDirectory() {
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf) == nullptr) return "";
    return buf;
}

int createDirectoryLevel(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0) return 1;
    if (errno != EEXIST) return 0;
    struct stat st {};
    return (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ? 1 : 0;
}

int createPrivateDirectory(const std::string& path) {
    if (mkdir(path.c_str(), 0700) == 0) return 1;
    if (errno != EEXIST) return 0;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
    return (st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0) ? 1 : 0;
}

std::string userStateDirWithSeparator() {
    const char* home = std::getenv("HOME");
    const char* chosen = std::getenv("XDG_STATE_HOME");
    std::string state = chosen != nullptr ? chosen : "";
    if (state.empty()) {
        if (home == nullptr || *home == '\0') return tempDirWithSeparator();
        createDirectoryLevel(std::string(home) + "/.local");
        state = std::string(home) + "/.local/state";
    }
    createDirectoryLevel(state);
    return withSeparator(state);
}

}  // namespace tarnwick
