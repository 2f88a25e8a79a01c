// The station argument of the command line: "/NN", a slash and two digits naming one of the
// stations 1..20 of the line.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct StationArgument {
    int number = 0;       // 1..20 when accepted
    std::string refusal;  // why it was refused, one line for standard error; empty when accepted
    bool accepted() const { return refusal.empty(); }
};

// A first argument that begins with "/" asks for station mode.
bool isStationArgument(std::string_view arg);

// Judges a station argument. Anything but a slash and two digits of a value 1..20 is
// refused; the front end prints the refusal and exits with the usage status (64).
StationArgument parseStationArgument(std::string_view arg);

// What may follow the station argument: "--wait" queues for the single-instance lock
// instead of being refused, "--wait=SECONDS" for at most that long.
struct StationOptions {
    bool wait = false;
    int waitSeconds = -1;  // no limit
};

// The arguments after the first; false with the problem for anything else.
bool parseStationOptions(const std::vector<std::string>& args, StationOptions& options, std::string& problem);

}  // namespace tarnwick
