#include "platform/child_processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace tarnwick {

namespace {

// This process's environment without variable's name, then variable.
std::vector<char*> environmentWith(std::string& variable) {
    const size_t nameLength = variable.find('=') + 1;
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, variable.c_str(), nameLength) != 0) env.push_back(*e);
    }
    env.push_back(variable.data());
    env.push_back(nullptr);
    return env;
}

// The standard streams on /dev/null and no signal blocked, whatever this process blocks.
int spawn(pid_t& pid, const std::string& program, char* const argv[], char* const env[]) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
    const int failed = posix_spawn(&pid, program.c_str(), &files, &attr, argv, env);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    return failed;
}

}  // namespace

ChildProcesses::ChildProcesses() = default;
ChildProcesses::~ChildProcesses() = default;

long ChildProcesses::start(const std::string& program, const std::vector<std::string>& args,
                           const std::string& variable, std::string& why) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    std::string mark = variable;
    const std::vector<char*> env = environmentWith(mark);
    pid_t pid = -1;
    if (const int failed = spawn(pid, program, argv.data(), env.data()); failed != 0) {
        why = std::strerror(failed);
        return -1;
    }
    running_[pid] = pid;
    return pid;
}

std::vector<ChildProcesses::Ended> ChildProcesses::reap() {
    std::vector<Ended> ended;
    for (auto it = running_.begin(); it != running_.end();) {
        int status = 0;
        if (waitpid(static_cast<pid_t>(it->first), &status, WNOHANG) != it->first) {
            ++it;
            continue;
        }
        ended.push_back({it->first, WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)});
        it = running_.erase(it);
    }
    return ended;
}

void ChildProcesses::stopAll(int signal) {
    for (const auto& [id, pid] : running_) kill(static_cast<pid_t>(pid), signal);
}

}  // namespace tarnwick
