#include "station/station_info.h"

#include <cerrno>
#include <cstdio>
#include <string_view>
#include <vector>

#include "package/line_reader.h"
#include "platform/file_search.h"
#include "platform/regular_file.h"

namespace tarnwick {

namespace {

constexpr int kKeyLinesWanted = 3;
constexpr uint64_t kMaxInfoBytes = 64 * 1024;  // three key lines, with room for comments
constexpr std::string_view kBinSuffix = ".bin";

void applyLine(std::string_view line, StationInfo& info) {
    const size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos || semicolon == 0) return;
    const std::string_view key = line.substr(0, semicolon);
    const std::string value = trimRight(line.substr(semicolon + 1));
    if (key == "IPAddress") {
        info.ipText = value;
    } else if (key == "Skip") {
        info.skip = value == "ON";
    } else if (key == "Drive") {
        info.drive = value;
    } else {
        return;
    }
    ++info.keyLines;
}

}  // namespace

int readStationInfo(const std::string& path, StationInfo& info) {
    info.keyLines = 0;
    std::string why;
    std::FILE* file = openRegularFile(path, kMaxInfoBytes, &why);
    if (file == nullptr) {
        if (errno != ENOENT) std::fprintf(stderr, "tarnwick: the information file %s: %s\n", path.c_str(), why.c_str());
        return 0;
    }
    HeaderLine line;
    while (line.read(file)) applyLine(line.text(), info);
    std::fclose(file);
    return info.keyLines == kKeyLinesWanted ? 1 : 0;
}

int findUpdateFile(const std::string& drive, std::string& found) {
    const std::vector<std::string> files = filesEndingWith(drive, kBinSuffix);
    if (files.empty()) return 0;
    found = files.back();
    return 1;
}

std::array<uint8_t, 4> stationIpAddress(const std::string& ipText) {
    std::array<uint8_t, 4> address{};
    std::string_view rest = ipText;
    for (size_t part = 0; part < address.size(); ++part) {
        const size_t dot = part + 1 < address.size() ? rest.find('.') : std::string_view::npos;
        address[part] = static_cast<uint8_t>(unsignedValue(rest.substr(0, dot), 10) & 0xFFu);
        rest = dot == std::string_view::npos ? std::string_view() : rest.substr(dot + 1);
    }
    return address;
}

}  // namespace tarnwick
