#include "cli/cli_commands.h"

namespace tarnwick {

const std::vector<CliCommand>& cliCommands() {
    static const std::vector<CliCommand> commands = {
        {"versions", "versions --file PKG [--json]",
         "Loads the update package PKG as \"Load\" does and prints its version listing.",
         {{"--file", true, true}, {"--json", false, false}},
         runVersionsCommand, true},
        {"ports", "ports [--json]",
         "Lists the serial port candidates as COMn with their device paths, whether each opens now "
         "(free, busy and by whom, no such device, permission denied) and the USB adapter behind it "
         "(TARNWICK_SERIAL_PORTS names the candidates). Exit 1 when none is free.",
         {{"--json", false, false}},
         runPortsCommand},
        {"info", "info (--port DEVICE [--baud N] | --ip ADDR [--tcp-port N]) [--file PKG [--all-devices]] [--trace FILE] [--history FILE | --no-history] [--json]",
         "Asks the product in its normal mode as \"Check Comm.\" does and prints its model, serial number, package "
         "id, MAC address and every slot's version; with --file, a plan line per component of PKG: id, name, "
         "package version, product version and what \"Update\" would do under the mode (update, pass, downgrade, "
         "type change, not over this link). Writes nothing. Exit 0, 1 when the product does not answer, 2 when PKG "
         "does not load, 3 when the product answers only in its update mode.",
         {{"--port", true, false},
          {"--baud", true, false},
          {"--ip", true, false},
          {"--tcp-port", true, false},
          {"--file", true, false},
          {"--all-devices", false, false},
          {"--trace", true, false},
          {"--history", true, false},
          {"--no-history", false, false},
          {"--json", false, false}},
         runInfoCommand, true},
        {"check", "check (--port DEVICE [--baud N] | --ip ADDR [--tcp-port N]) [--trace FILE] [--verbose] [--history FILE | --no-history] [--json]",
         "\"Check Comm.\" over RS-232C on DEVICE or over Ethernet to the product at ADDR: does the product "
         "answer in its normal or its update mode? Exit 0 for OK, 1 for NG. --baud: the update bit rate, as its "
         "index 0..4 or in bit/s (9600 .. 115200, default 115200) when no package decides it; --tcp-port: the product's update port "
         "(default 5000); --trace: the wire trace.",
         {{"--port", true, false},
          {"--baud", true, false},
          {"--ip", true, false},
          {"--tcp-port", true, false},
          {"--trace", true, false},
          {"--history", true, false},
          {"--no-history", false, false},
          {"--verbose", false, false},
          {"--json", false, false}},
         runCheckCommand, true},
        {"update",
         "update --file PKG (--port DEVICE [--baud N] | --ip ADDR [--tcp-port N]) [--all-devices] "
         "[--check verify|sum] [--yes | --no] [--trace FILE] [--verbose] [--history FILE | --no-history] [--json]",
         "Loads PKG and updates the product over RS-232C on DEVICE or over Ethernet at ADDR. Questions are asked on the terminal "
         "unless --yes or --no answers them (No without a terminal). Exit status: the result code 0..11 "
         "(0 \"Update completed.\", 10 \"No device to be renewed.\"), 12 when a question was answered No. --json: one JSON object a line as things happen (status, box, "
         "summary, result); questions are then answered by --yes or No. The run is recorded in the history "
         "(see history; --history FILE another file, --no-history none).",
         {{"--file", true, true},
          {"--port", true, false},
          {"--baud", true, false},
          {"--ip", true, false},
          {"--tcp-port", true, false},
          {"--all-devices", false, false},
          {"--check", true, false},
          {"--yes", false, false},
          {"--no", false, false},
          {"--trace", true, false},
          {"--history", true, false},
          {"--no-history", false, false},
          {"--verbose", false, false},
          {"--json", false, false}},
         runUpdateCommand, true},
        {"history",
         "history [show RUN] [--serial S] [--model M] [--since DATE] [--result ok|failed] [--limit N] "
         "[--json | --csv] [--history FILE]",
         "Lists the recorded update, check and info runs newest first, from the window, the command line and the "
         "stations (the file: --history FILE, else $TARNWICK_HISTORY, else $XDG_STATE_HOME/tarnwick/history.db; "
         "a station's is history.db in the program directory). --json: one document; --csv: one row per "
         "component; show RUN: one run in full.",
         {{"show", true, false},
          {"--serial", true, false},
          {"--model", true, false},
          {"--since", true, false},
          {"--result", true, false},
          {"--limit", true, false},
          {"--json", false, false},
          {"--csv", false, false},
          {"--history", true, false}},
         runHistoryCommand},
        {"monitor", "monitor [--once | --json]",
         "Shows the twenty station slots of the shared status area, refreshed until Ctrl-C; --once prints one "
         "table, --json one JSON document (exit 1 while no station has created the area).",
         {{"--once", false, false}, {"--json", false, false}},
         runMonitorCommand},
        {"line", "line FIRST-LAST [--parallel N] [--json]",
         "Runs the stations FIRST..LAST of the program directory (for example 01-20), each as its own "
         "`tarnwick /NN` in its own slot, N at a time (default 1: one after another), holding the single-instance "
         "lock for the whole line. Shows the monitor's table on a terminal while it runs and one line per station "
         "at the end (result word, result code, error line, elapsed), or one JSON document with --json. Exit 0 when "
         "every station succeeded, 1 when any did not, 75 when another copy holds the lock.",
         {{"--parallel", true, false}, {"--json", false, false}},
         runLineCommand, true, "STATIONS"},
    };
    return commands;
}

}  // namespace tarnwick
