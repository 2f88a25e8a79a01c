#include "app/command_line.h"

#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>

#include "app/cli_commands.h"
#include "app/start_window.h"
#include "platform/posix/instance_lock.h"

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

std::string absolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char buf[PATH_MAX];
    if (getcwd(buf, sizeof buf) == nullptr) return path;
    return std::string(buf) + "/" + path;
}

namespace {

// Splits the arguments after the command name by the command's option table. An unknown
// option, a missing value or a stray argument is a usage error.
bool parseOptions(const CliCommand& command, const std::vector<std::string>& args, CommandOptions& options,
                  std::string& problem) {
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const CliOption* match = nullptr;
        for (const CliOption& o : command.options) {
            if (a == o.name) match = &o;
        }
        if (match == nullptr) {
            problem = "unknown argument '" + a + "'";
            return false;
        }
        if (!match->takesValue) {
            options.flags.push_back(a);
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = "'" + a + "' needs a value";
            return false;
        }
        options.values[a] = args[++i];
    }
    return true;
}

const CliCommand* findCommand(const std::string& name) {
    for (const CliCommand& c : cliCommands()) {
        if (name == c.name) return &c;
    }
    return nullptr;
}

}  // namespace

std::string usageText() {
    std::string text =
        "Usage: tarnwick [COMMAND [OPTIONS]]\n"
        "Ostrel Firmware Writer: rewrites the firmware of the product from an update package.\n"
        "\n"
        "Without a command the window opens; \"/NN\" runs production-line station NN.\n"
        "\n"
        "Commands:\n";
    for (const CliCommand& c : cliCommands()) {
        text += "  " + std::string(c.synopsis) + "\n      " + c.summary + "\n";
    }
    text += "  --help\n      Shows this text.\n";
    return text;
}

int runCommandLine(const std::vector<std::string>& args, const CommandIo& io) {
    // A reader that goes away (`tarnwick update ... | head`) must not end a run halfway:
    // writes to it fail, and the console ignores failed writes.
    std::signal(SIGPIPE, SIG_IGN);
    if (args.empty()) {
        std::fputs(usageText().c_str(), io.err);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(usageText().c_str(), io.out);
        return 0;
    }
    const CliCommand* command = findCommand(args[0]);
    if (command == nullptr) {
        std::fprintf(io.err, "tarnwick: unknown command '%s'\n%s", args[0].c_str(), usageText().c_str());
        return kExitUsage;
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
    InstanceLock lock;  // held until the command ends, and by the kernel at any exit
    if (command->singleInstance && lock.acquire() == InstanceLock::Result::HeldElsewhere) {
        std::fprintf(io.out, "[error]\n%s\n", kAlreadyRunningText);
        return kExitSecondInstance;
    }
    return command->run(options, io);
}

}  // namespace tarnwick
