#include "platform/paths.h"

#include <cstdlib>
#include <vector>

#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {
// The longest path the wide Windows calls take; the ANSI ones stop far earlier.
constexpr DWORD kMaxPath = 32768;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

std::string withSeparator(std::string dir) {
    if (dir.empty() || !isSeparator(dir.back())) dir.push_back('\\');
    return dir;
}

bool isDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The root of a path: "C:\" for a drive path, "\\server\share\" for a network one, else
// the root of the current drive.
std::string rootOf(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2) + "\\";
    if (path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        size_t end = path.find_first_of("\\/", 2);
        if (end != std::string::npos) end = path.find_first_of("\\/", end + 1);
        if (end != std::string::npos) return path.substr(0, end + 1);
    }
    return "\\";
}
}  // namespace

std::string tempDirWithSeparator() {
    char buf[MAX_PATH + 2];
    const DWORD n = GetTempPathA(sizeof buf, buf);
    if (n == 0 || n >= sizeof buf) return ".\\";
    return withSeparator(std::string(buf, n));
}

std::string executablePath() {
    std::vector<char> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return "";
        if (n < buf.size()) return std::string(buf.data(), n);
        if (buf.size() >= kMaxPath) return "";
        buf.resize(buf.size() * 2);
    }
}

std::string programDirWithSeparator() {
    const char* dir = std::getenv("TARNWICK_PROGRAM_DIR");
    if (dir != nullptr && *dir != '\0') return withSeparator(dir);
    std::string path = executablePath();
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos) return "";
    path.resize(separator + 1);
    return path;
}

// The drive the program's directory is on, where a station looks for its update file
// unless its information file names another.
std::string programDrive() { return rootOf(programDirWithSeparator()); }

std::string currentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0 || needed > kMaxPath) return "";
    std::string dir(needed, '\0');
    const DWORD n = GetCurrentDirectoryA(needed, dir.data());
    if (n == 0 || n >= needed) return "";
    dir.resize(n);
    return dir;
}

int createDirectoryLevel(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    return GetLastError() == ERROR_ALREADY_EXISTS && isDirectory(path) ? 1 : 0;
}

// A new directory takes the permissions of the one it is made in. Private directories go
// into the user's own temporary directory, which on Windows only that user (and the
// administrators) may use already, so no permissions of their own are set. An existing
// one is taken when it is a real directory: a junction or link could lead elsewhere.
int createPrivateDirectory(const std::string& path) {
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 ? 1 : 0;
}

std::string userStateDirWithSeparator() {
    const char* local = std::getenv("LOCALAPPDATA");
    if (local == nullptr || *local == '\0') return tempDirWithSeparator();
    createDirectoryLevel(local);
    return withSeparator(local);
}

}  // namespace tarnwick
