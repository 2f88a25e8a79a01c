// `tarnwick monitor`: watches the stations of the line through the shared status area.
#pragma once
#include <string>

#include "app/command_line.h"
#include "platform/clock.h"

namespace tarnwick {

struct MonitorOptions {
    bool once = false;  // one table, then exit
    bool json = false;  // one JSON document, then exit
};

// Shows the area `areaName`, mapped read-only. A snapshot (once or json) exits 1 when there
// is no area. The live view redraws the table (on a terminal) or prints it whenever it
// changes (elsewhere), waits on `clock` between refreshes, waits for an area that is not
// there yet, and ends with status 0 at SIGINT.
int runMonitor(const MonitorOptions& options, const std::string& areaName, Clock& clock, const CommandIo& io,
               bool terminal);

}  // namespace tarnwick
