#include "platform/serial_candidates.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace tarnwick {

namespace {

constexpr size_t kMaxCandidates = 16;

std::vector<std::string> splitColons(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t colon = text.find(':', start);
        if (colon == std::string::npos) colon = text.size();
        if (colon > start) parts.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    return parts;
}

// The number after the prefix, or -1 when the rest is not all digits.
long deviceNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
    long n = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return -1;
        if (n > 1000000) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

std::vector<std::string> devicesWithPrefix(const std::string& prefix) {
    std::vector<std::pair<long, std::string>> found;
    if (DIR* dir = opendir("/dev")) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            long n = deviceNumber(name, prefix);
            if (n >= 0) found.emplace_back(n, "/dev/" + name);
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    for (auto& f : found) paths.push_back(f.second);
    return paths;
}

}  // namespace

std::vector<std::string> serialDeviceCandidates() {
    std::vector<std::string> paths;
    if (const char* env = std::getenv("TARNWICK_SERIAL_PORTS")) {
        paths = splitColons(env);
    } else {
        for (const char* prefix : {"ttyUSB", "ttyACM", "ttyS"}) {
            for (auto& p : devicesWithPrefix(prefix)) paths.push_back(p);
        }
    }
    if (paths.size() > kMaxCandidates) paths.resize(kMaxCandidates);
    return paths;
}

}  // namespace tarnwick
