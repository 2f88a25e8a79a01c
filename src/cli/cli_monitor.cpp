// `tarnwick monitor`: the command line's options for the monitor of the stations.
#include <unistd.h>

#include "cli/cli_commands.h"
#include "monitor/monitor_command.h"
#include "platform/shared_area.h"

namespace tarnwick {

int runMonitorCommand(const CommandOptions& options, const CommandIo& io) {
    MonitorOptions monitor;
    monitor.once = options.has("--once");
    monitor.json = options.has("--json");
    return runMonitor(monitor, sharedAreaName(), systemClock(), MonitorIo{io.out, io.err},
                      isatty(fileno(io.out)) == 1);
}

}  // namespace tarnwick
