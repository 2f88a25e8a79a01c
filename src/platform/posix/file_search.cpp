#include "platform/file_search.h"

#include <dirent.h>
#include <sys/stat.h>

namespace tarnwick {

namespace {

bool endsWith(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

std::string joinPath(const std::string& dir, const char* name) {
    if (!dir.empty() && dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

// A link to a directory counts as one.
bool isDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<std::string> filesEndingWith(const std::string& dir, std::string_view suffix) {
    std::vector<std::string> files;
    DIR* listing = opendir(dir.empty() ? "/" : dir.c_str());
    if (listing == nullptr) return files;
    while (const dirent* entry = readdir(listing)) {
        if (!endsWith(entry->d_name, suffix)) continue;
        std::string path = joinPath(dir, entry->d_name);
        if (!isDirectory(path)) files.push_back(std::move(path));
    }
    closedir(listing);
    return files;
}

}  // namespace tarnwick
