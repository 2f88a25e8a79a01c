// The command-line front end: `tarnwick <command> [options]`, over the same main-window
// procedures as the window, with the console dialog.
#pragma once
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tarnwick {

constexpr int kExitUsage = 64;
constexpr int kExitSecondInstance = 75;  // EX_TEMPFAIL: another copy holds the guard; try again

// Parsed options of one command: "--name value" and "--flag" forms.
struct CommandOptions {
    std::map<std::string, std::string> values;
    std::vector<std::string> flags;
    bool has(const std::string& flag) const;
    std::string value(const std::string& name) const;
};

struct CommandIo {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    std::FILE* in = stdin;
};

// Runs a command; returns the process exit status.
int runCommandLine(const std::vector<std::string>& args, const CommandIo& io);

// The usage text listing every command, wrapped to width columns.
std::string usageText(size_t width = 80);

// The full path of a file name as the open-file dialog would give it.
std::string absolutePath(const std::string& path);

}  // namespace tarnwick
