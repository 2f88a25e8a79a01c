#include "platform/path_names.h"

#include <sys/stat.h>

#include "platform/paths.h"

namespace tarnwick {

std::string fullPathOf(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    const std::string here = currentDirectory();
    return here.empty() ? path : here + "/" + path;
}

bool sameFileBehind(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace tarnwick
