#include "platform/serial_candidates.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {

constexpr size_t kMaxCandidates = 16;
constexpr DWORD kMaxListedPorts = 256;  // COM1..COM256
constexpr DWORD kNameCapacity = 256;

// The ';'-separated names of TARNWICK_SERIAL_PORTS, as PATH lists directories here.
std::vector<std::string> splitSemicolons(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t semicolon = text.find(';', start);
        if (semicolon == std::string::npos) semicolon = text.size();
        if (semicolon > start) parts.push_back(text.substr(start, semicolon - start));
        start = semicolon + 1;
    }
    return parts;
}

// The number of "COMn" (any case), or a number above every port for another name.
long portNumber(const std::string& name) {
    constexpr long kOther = 1000000;
    if (name.size() < 4 || name.size() > 9) return kOther;
    if (std::toupper(static_cast<unsigned char>(name[0])) != 'C' || std::toupper(static_cast<unsigned char>(name[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(name[2])) != 'M') {
        return kOther;
    }
    long n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return kOther;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// The ports the system lists: one value a port under SERIALCOMM, its data the port's name.
std::vector<std::string> listedPorts() {
    std::vector<std::pair<long, std::string>> found;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    for (DWORD index = 0; index < kMaxListedPorts; ++index) {
        char valueName[kNameCapacity];
        DWORD valueLength = sizeof valueName;
        char data[kNameCapacity] = {};
        DWORD dataLength = sizeof data - 1;  // room for a closing zero the registry may omit
        DWORD type = 0;
        const LONG r = RegEnumValueA(key, index, valueName, &valueLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataLength);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        const std::string name(data);
        if (!name.empty()) found.emplace_back(portNumber(name), name);
    }
    RegCloseKey(key);
    std::sort(found.begin(), found.end());
    std::vector<std::string> names;
    for (auto& f : found) names.push_back(f.second);
    return names;
}

}  // namespace

std::vector<std::string> serialDeviceCandidates() {
    std::vector<std::string> names;
    if (const char* env = std::getenv("TARNWICK_SERIAL_PORTS")) {
        names = splitSemicolons(env);
    } else {
        names = listedPorts();
    }
    if (names.size() > kMaxCandidates) names.resize(kMaxCandidates);
    return names;
}

}  // namespace tarnwick
