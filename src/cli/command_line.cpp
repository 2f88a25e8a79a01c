#include "cli/command_line.h"

#include <cstdlib>

#include "cli/cli_commands.h"
#include "window/start_window.h"
#include "platform/broken_pipe.h"
#include "platform/instance_lock.h"
#include "platform/path_names.h"
#include "platform/program_version.h"

namespace tarnwick {

bool CommandOptions::has(const std::string& flag) const {
    for (const std::string& f : flags) {
        if (f == flag) return true;
    }
    return false;
}

std::string CommandOptions::value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
}

std::string absolutePath(const std::string& path) { return fullPathOf(path); }

namespace {

const CliOption* findOption(const CliCommand& command, const std::string& name) {
    for (const CliOption& o : command.options) {
        if (name == o.name) return &o;
    }
    return nullptr;
}

// Splits the arguments after the command name by the command's option table: "--name value",
// "--name=value" and "--flag". An unknown option, a missing value or a stray argument is a
// usage error.
bool parseOptions(const CliCommand& command, const std::vector<std::string>& args, CommandOptions& options,
                  std::string& problem) {
    for (size_t i = 1; i < args.size(); ++i) {
        const size_t equals = args[i].find('=');
        const bool joined = args[i].rfind("--", 0) == 0 && equals != std::string::npos;
        const std::string name = joined ? args[i].substr(0, equals) : args[i];
        const CliOption* match = findOption(command, name);
        if (match == nullptr && command.operand != nullptr && args[i].rfind("--", 0) != 0 &&
            options.values.count(command.operand) == 0) {
            options.values[command.operand] = args[i];
            continue;
        }
        if (match == nullptr) {
            problem = "unknown argument '" + args[i] + "'";
            return false;
        }
        if (!match->takesValue) {
            if (joined) {
                problem = "'" + name + "' takes no value";
                return false;
            }
            options.flags.push_back(name);
        } else if (joined) {
            options.values[name] = args[i].substr(equals + 1);
        } else if (i + 1 < args.size()) {
            options.values[name] = args[++i];
        } else {
            problem = "'" + name + "' needs a value";
            return false;
        }
    }
    return true;
}

// An output that would overwrite an input before it is read (the wire trace over the
// package); the problem names both options.
bool outputOverInput(const CommandOptions& options, std::string& problem) {
    static const char* const kOutputs[] = {"--trace", "--port"};
    static const char* const kInputs[] = {"--file"};
    for (const char* output : kOutputs) {
        for (const char* input : kInputs) {
            const std::string out = options.value(output), in = options.value(input);
            if (out.empty() || in.empty() || !sameFileBehind(out, in)) continue;
            problem = std::string(output) + " names the file of " + input + " ('" + out + "'); it would be overwritten";
            return true;
        }
    }
    return false;
}

bool asksForHelp(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") return true;
    }
    return false;
}

const CliCommand* findCommand(const std::string& name) {
    for (const CliCommand& c : cliCommands()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, const CommandIo& io) {
    keepRunningOnBrokenPipe();
    if (args.empty()) {
        std::fputs(usageText(helpColumns(io.err)).c_str(), io.err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(usageText(helpColumns(io.out)).c_str(), io.out);
        return 0;
    }
    if (args[0] == "--version") {
        std::fprintf(io.out, "tarnwick %s\n", programVersion());
        return 0;
    }
    const CliCommand* command = findCommand(args[0]);
    if (command == nullptr) {
        std::fprintf(io.err, "tarnwick: unknown command '%s'\n%s", args[0].c_str(),
                     usageText(helpColumns(io.err)).c_str());
        return kExitUsage;
    }
    if (asksForHelp(args)) {
        std::fputs(commandHelp(*command, helpColumns(io.out)).c_str(), io.out);
        return 0;
    }
    CommandOptions options;
    std::string problem;
    if (!parseOptions(*command, args, options, problem)) {
        std::fprintf(io.err, "tarnwick %s: %s\nUsage: tarnwick %s\n", command->name, problem.c_str(),
                     command->synopsis);
        return kExitUsage;
    }
    for (const CliOption& o : command->options) {
        if (o.required && options.value(o.name).empty()) {
            std::fprintf(io.err, "tarnwick %s: %s is required\nUsage: tarnwick %s\n", command->name, o.name,
                         command->synopsis);
            return kExitUsage;
        }
    }
    if (outputOverInput(options, problem)) {
        std::fprintf(io.err, "tarnwick %s: %s\nUsage: tarnwick %s\n", command->name, problem.c_str(), command->synopsis);
        return kExitUsage;
    }
    InstanceLock lock;  // held until the command ends, and by the kernel at any exit
    if (command->singleInstance) {
        const InstanceLock::Result taken = lock.acquire();
        if (taken == InstanceLock::Result::HeldElsewhere) {
            std::fprintf(io.out, "[error]\n%s\n", kAlreadyRunningText);
            std::fprintf(io.err, "tarnwick %s: busy: another copy holds %s; try again later.\n", command->name,
                         instanceLockPath(lockDirectory()).c_str());
            return kExitSecondInstance;
        }
        if (taken == InstanceLock::Result::Unavailable) {
            std::fprintf(io.err, "tarnwick %s: the single-instance lock cannot be taken (%s); not running.\n",
                         command->name, lock.reason().c_str());
            return kExitSecondInstance;
        }
    }
    return command->run(options, io);
}

}  // namespace tarnwick
