#include "station/station_argument.h"

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

}  // namespace tarnwick
