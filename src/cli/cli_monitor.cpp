// `tarnwick monitor`: the command line's options for the monitor of the stations.
#include "cli/cli_commands.h"
#include "monitor/monitor_command.h"
#include "platform/shared_area.h"
#include "platform/terminal.h"

namespace tarnwick {

int runMonitorCommand(const CommandOptions& options, const CommandIo& io) {
    MonitorOptions monitor;
    monitor.once = options.has("--once");
    monitor.json = options.has("--json");
    return runMonitor(monitor, sharedAreaName(), systemClock(), MonitorIo{io.out, io.err},
                      isTerminal(io.out));
}

}  // namespace tarnwick
