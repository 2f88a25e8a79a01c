#include "station/station_argument.h"

#include <algorithm>

#include "station/station_slot.h"

namespace tarnwick {

namespace {
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool isStationArgument(std::string_view arg) { return !arg.empty() && arg[0] == '/'; }

StationArgument parseStationArgument(std::string_view arg) {
    StationArgument result;
    const std::string shown(arg);
    if (arg.size() != 3 || arg[0] != '/' || !isDigit(arg[1]) || !isDigit(arg[2])) {
        result.refusal = "tarnwick: '" + shown + "' is not a station: give a slash and two digits, /01 to /20";
        return result;
    }
    const int number = (arg[1] - '0') * 10 + (arg[2] - '0');
    if (!isStationNumber(number)) {
        result.refusal = "tarnwick: there is no station '" + shown + "': the line has the stations /01 to /20";
        return result;
    }
    result.number = number;
    return result;
}

bool parseStationOptions(const std::vector<std::string>& args, StationOptions& options, std::string& problem) {
    constexpr std::string_view kWait = "--wait";
    constexpr int kMaxWaitSeconds = 7 * 24 * 3600;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == kWait) {
            options.wait = true;
            continue;
        }
        const std::string_view digits = arg.substr(arg.size() > kWait.size() ? kWait.size() + 1 : arg.size());
        bool valid = arg.substr(0, kWait.size() + 1) == "--wait=" && !digits.empty() && digits.size() <= 6;
        for (char c : digits) valid = valid && isDigit(c);
        if (!valid) {
            problem = "tarnwick: a station takes only --wait or --wait=SECONDS, not '" + args[i] + "'";
            return false;
        }
        options.wait = true;
        options.waitSeconds = std::min(std::stoi(std::string(digits)), kMaxWaitSeconds);
    }
    return true;
}

}  // namespace tarnwick
