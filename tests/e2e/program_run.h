// The program run as a user runs it, with no terminal on any of its standard streams and
// settling waits scaled to nothing; the work directory under dir.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "support/stream_text.h"

namespace tarnwick::test {

// Runs `tarnwick args`; gives its exit code, with its standard output and error in out and err.
// The arguments with each placeholder word replaced by its value.
inline std::string expandWords(std::string args, const std::vector<std::pair<std::string, std::string>>& words) {
    for (const auto& [word, value] : words) {
        if (auto at = args.find(word); at != std::string::npos) args.replace(at, word.size(), value);
    }
    return args;
}

// The shell command that runs `tarnwick args` so, for tests that redirect it their own way.
inline std::string programCommand(const std::string& args, const std::string& dir) {
    return "env TARNWICK_TIME_SCALE=0 TMPDIR='" + dir + "/' '" + TARNWICK_BINARY + "' " + args;
}

inline int runProgram(const std::string& args, const std::string& dir, std::string& out, std::string& err) {
    const std::string command = programCommand(args, dir) + " </dev/null >'" + dir + "/out.txt' 2>'" + dir + "/err.txt'";
    const int raw = std::system(command.c_str());
    out = slurp(dir + "/out.txt");
    err = slurp(dir + "/err.txt");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

}  // namespace tarnwick::test
