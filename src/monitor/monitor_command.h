// `tarnwick monitor`: watches the stations of the line through the shared status area.
#pragma once
#include <cstdio>
#include <string>

#include "platform/clock.h"

namespace tarnwick {

// Where the monitor writes its tables and its complaints.
struct MonitorIo {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

struct MonitorOptions {
    bool once = false;  // one table, then exit
    bool json = false;  // one JSON document, then exit
};

// Shows the area `areaName`, mapped read-only. A snapshot (once or json) exits 1 when there
// is no area. The live view redraws the table (on a terminal) or prints it whenever it
// changes (elsewhere), waits on `clock` between refreshes, waits for an area that is not
// there yet, and ends with status 0 at SIGINT.
int runMonitor(const MonitorOptions& options, const std::string& areaName, Clock& clock, const MonitorIo& io,
               bool terminal);

}  // namespace tarnwick
