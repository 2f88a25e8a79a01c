// The table of the command-line front end's commands.
#pragma once
#include <vector>

#include "app/command_line.h"

namespace tarnwick {

struct CliOption {
    const char* name;
    bool takesValue;
    bool required;
};

struct CliCommand {
    const char* name;
    const char* synopsis;
    const char* summary;
    std::vector<CliOption> options;
    int (*run)(const CommandOptions& options, const CommandIo& io);
    // Loads a package or opens a port: runs only as the single instance, as the window does
    // (they share the work directory and the devices).
    bool singleInstance = false;
};

const std::vector<CliCommand>& cliCommands();

// The commands, one file each.
int runVersionsCommand(const CommandOptions& options, const CommandIo& io);
int runPortsCommand(const CommandOptions& options, const CommandIo& io);
int runCheckCommand(const CommandOptions& options, const CommandIo& io);
int runUpdateCommand(const CommandOptions& options, const CommandIo& io);
int runMonitorCommand(const CommandOptions& options, const CommandIo& io);

}  // namespace tarnwick
