#include "app/cli_commands.h"

namespace tarnwick {

const std::vector<CliCommand>& cliCommands() {
    static const std::vector<CliCommand> commands = {
        {"versions", "versions --file PKG",
         "Loads the update package PKG as \"Load\" does and prints its version listing.",
         {{"--file", true, true}},
         runVersionsCommand},
        {"ports", "ports",
         "Lists the serial ports that open now, as COMn with their device paths "
         "(TARNWICK_SERIAL_PORTS names the candidates).",
         {},
         runPortsCommand},
    };
    return commands;
}

}  // namespace tarnwick
