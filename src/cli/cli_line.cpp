// `tarnwick line FIRST-LAST [--parallel N] [--json]`: the options of the line runner.
#include <climits>
#include <cstdlib>

#include "cli/cli_commands.h"
#include "line/line_report.h"
#include "line/line_runner.h"
#include "platform/paths.h"
#include "platform/terminal.h"

namespace tarnwick {

namespace {

constexpr int kMaxParallel = 20;

// The program itself, to start the stations with.
std::string selfPath() {
    const std::string path = executablePath();
    return path.empty() ? std::string("tarnwick") : path;
}

}  // namespace

int runLineCommand(const CommandOptions& options, const CommandIo& io) {
    LineOptions line;
    std::string problem;
    if (!parseStationRange(options.value("STATIONS"), line.first, line.last, problem)) {
        std::fprintf(io.err, "tarnwick line: %s\n", problem.c_str());
        return kExitUsage;
    }
    if (const std::string parallel = options.value("--parallel"); !parallel.empty()) {
        char* end = nullptr;
        const long n = std::strtol(parallel.c_str(), &end, 10);
        if (*end != '\0' || n < 1 || n > kMaxParallel) {
            std::fprintf(io.err, "tarnwick line: --parallel takes 1 to %d stations\n", kMaxParallel);
            return kExitUsage;
        }
        line.parallel = static_cast<int>(n);
    }
    line.json = options.has("--json");
    line.table = !line.json && isTerminal(io.out);
    line.program = selfPath();
    return runLine(line, io.out, io.err);
}

}  // namespace tarnwick
