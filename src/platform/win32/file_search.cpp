#include "platform/file_search.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>

namespace tarnwick {

namespace {

std::string joinPath(const std::string& dir, const char* name) {
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) return dir + name;
    return dir + "\\" + name;
}

// The pattern also matches a long name through its short 8.3 name ("x.binary" as
// "X~1.BIN"): only names that really end with suffix count.
bool endsWith(const char* name, std::string_view suffix) {
    const size_t length = std::strlen(name);
    return length >= suffix.size() &&
           _strnicmp(name + length - suffix.size(), suffix.data(), suffix.size()) == 0;
}

}  // namespace

std::vector<std::string> filesEndingWith(const std::string& dir, std::string_view suffix) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(joinPath(dir, ("*" + std::string(suffix)).c_str()).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && endsWith(found.cFileName, suffix)) {
            files.push_back(joinPath(dir, found.cFileName));
        }
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
    return files;
}

}  // namespace tarnwick
