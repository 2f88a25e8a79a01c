// The line's stations as child processes: the status each ends with, the line's mark in
// its environment in place of an inherited one, and a stop passed on to a running child.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/child_processes.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

// Reaps until the child with id ends; -1 when it has not ended within 10 s (a hang).
int statusOf(ChildProcesses& children, long id) {
    for (int tick = 0; tick < 1000; ++tick) {
        for (const ChildProcesses::Ended& e : children.reap()) {
            if (e.id == id) return e.status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
}

TEST(ChildProcesses, EndStatusesAndTheMarkInTheEnvironment) {
    ::setenv("SEAM_MARK", "0", 1);  // an inherited value of the mark gives way to the line's
    const struct { const char* script; int status; } cases[] = {
        {"exit 0", 0},
        {"exit 7", 7},
        {"test \"$SEAM_MARK\" = 1 && test \"$(env | grep -c '^SEAM_MARK=')\" = 1", 0},
        {"exec 1>&2; test -t 0 && exit 3; read x && exit 4; exit 0", 0},  // standard streams on the null device
        {"kill -TERM $$", 128 + SIGTERM},
    };
    ChildProcesses children;
    for (const auto& c : cases) {
        std::string why;
        const long id = children.start("/bin/sh", {"-c", c.script}, "SEAM_MARK=1", why);
        ASSERT_GT(id, 0) << why;
        EXPECT_EQ(statusOf(children, id), c.status) << c.script;
    }
    ::unsetenv("SEAM_MARK");
}

TEST(ChildProcesses, AStopReachesARunningChildAndAMissingProgramSaysWhy) {
    ChildProcesses children;
    std::string why;
    EXPECT_EQ(children.start("/nonexistent/tarnwick", {"/01"}, "SEAM_MARK=1", why), -1);
    EXPECT_EQ(why, "No such file or directory");
    TempDir dir;
    const std::string ready = dir.path() + "/ready";
    const long id = children.start("/bin/sh", {"-c", "trap 'exit 42' INT; : >" + ready + "; while :; do sleep 0.01; done"},
                                   "SEAM_MARK=1", why);
    ASSERT_GT(id, 0) << why;
    for (int tick = 0; tick < 1000 && !std::filesystem::exists(ready); ++tick) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    children.stopAll(SIGINT);
    EXPECT_EQ(statusOf(children, id), 42);
}

}  // namespace
}  // namespace tarnwick::test
