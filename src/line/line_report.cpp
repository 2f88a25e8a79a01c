#include "line/line_report.h"

#include <cstdio>

#include "monitor/monitor_view.h"
#include "station/station_slot.h"

namespace tarnwick {

namespace {

constexpr int kExitNoResult = 12;
constexpr int kExitBusy = 75;
constexpr int kExitStopped = 130;

// A two-digit station number 01..20.
bool stationNumberOf(const std::string& text, int& number) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') return false;
    number = (text[0] - '0') * 10 + (text[1] - '0');
    return isStationNumber(number);
}

}  // namespace

bool parseStationRange(const std::string& text, int& first, int& last, std::string& problem) {
    const size_t dash = text.find('-');
    const std::string from = text.substr(0, dash);
    const std::string to = dash == std::string::npos ? from : text.substr(dash + 1);
    if (!stationNumberOf(from, first) || !stationNumberOf(to, last) || first > last) {
        problem = "'" + text + "' is not a range of stations: give FIRST-LAST of 01 to 20, for example 01-20";
        return false;
    }
    return true;
}

std::string outcomeWord(const std::string& label, int code) {
    if (label == "SUCCESS" || label == "ERROR") return label;
    if (code == kExitNoResult) return "NO RESULT";
    if (code == kExitBusy) return "BUSY";
    if (code == kExitStopped) return "STOPPED";
    return "ERROR";
}

std::string outcomeLines(const std::vector<StationOutcome>& outcomes) {
    std::string out;
    for (const StationOutcome& o : outcomes) {
        char line[96];
        std::snprintf(line, sizeof line, "%02d  %-9s  code %-3d %7.1f s", o.number, o.word.c_str(), o.code,
                      o.elapsedSeconds);
        out += line + (o.error.empty() ? std::string() : "  " + o.error) + "\n";
    }
    return out;
}

std::string outcomeJson(const std::vector<StationOutcome>& outcomes) {
    std::string out = "{\"stations\": [";
    int succeeded = 0;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const StationOutcome& o = outcomes[i];
        char elapsed[32];
        std::snprintf(elapsed, sizeof elapsed, "%.1f", o.elapsedSeconds);
        out += std::string(i == 0 ? "\n" : ",\n") + "  {\"station\": " + std::to_string(o.number) +
               ", \"result\": " + jsonString(o.word) + ", \"code\": " + std::to_string(o.code) +
               ", \"error\": " + jsonString(o.error) + ", \"elapsed\": " + elapsed + "}";
        if (o.code == 0) ++succeeded;
    }
    return out + "\n], \"succeeded\": " + std::to_string(succeeded) +
           ", \"failed\": " + std::to_string(static_cast<int>(outcomes.size()) - succeeded) + "}\n";
}

}  // namespace tarnwick
