// The table of the command-line front end's commands.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command_line.h"

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
    // The name of the one argument that is no option (for example the stations of a line);
    // null when the command takes none. Its value is options.value(operand).
    const char* operand = nullptr;
};

const std::vector<CliCommand>& cliCommands();

// The columns help text may use on out: the terminal's width, 80 when it is no terminal.
size_t helpColumns(std::FILE* out);
// One command's synopsis and summary, wrapped to width.
std::string commandHelp(const CliCommand& command, size_t width);

// "A.B.C.D" with four decimal numbers 0..255 into address; false for anything else.
bool parseIpAddress(const std::string& text, std::array<uint8_t, 4>& address);

// After a failed load: says on standard error why the package file does not open, if it does not.
void explainPackageFailure(const CommandIo& io, const char* command, const std::string& path);

// The commands, one file each.
int runVersionsCommand(const CommandOptions& options, const CommandIo& io);
int runPortsCommand(const CommandOptions& options, const CommandIo& io);
int runInfoCommand(const CommandOptions& options, const CommandIo& io);
int runCheckCommand(const CommandOptions& options, const CommandIo& io);
int runUpdateCommand(const CommandOptions& options, const CommandIo& io);
int runHistoryCommand(const CommandOptions& options, const CommandIo& io);
int runMonitorCommand(const CommandOptions& options, const CommandIo& io);
int runLineCommand(const CommandOptions& options, const CommandIo& io);

}  // namespace tarnwick
