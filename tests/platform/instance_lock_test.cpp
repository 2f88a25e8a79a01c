// The single-instance guard, on a private runtime directory.
#include "platform/posix/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir_env.h"

namespace tarnwick {
namespace {

class InstanceLockTest : public ::testing::Test {
protected:
    test::TempDir scratch{"tarnwick-lock"};
    test::ScopedEnv runtime{"XDG_RUNTIME_DIR", scratch.path()};
    const std::string& dir = scratch.path();
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstReleasesOrGoesAway) {
    InstanceLock second;
    {
        InstanceLock first;
        ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
        EXPECT_EQ(first.path(), dir + "/Tarnwick.exe.lock");
        EXPECT_TRUE(std::filesystem::exists(first.path()));
        EXPECT_EQ(second.acquire(), InstanceLock::Result::HeldElsewhere);
        EXPECT_FALSE(second.held());
        first.release();
        EXPECT_EQ(second.acquire(), InstanceLock::Result::Acquired);
        second.release();
        ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
    }  // the destructor lets go as well
    EXPECT_EQ(second.acquire(), InstanceLock::Result::Acquired);
    // An unusable runtime directory falls back to /tmp (where another copy may hold it).
    test::ScopedEnv missing("XDG_RUNTIME_DIR", dir + "/missing");
    InstanceLock fallback;
    EXPECT_NE(fallback.acquire(), InstanceLock::Result::Unavailable);
}

// A program that dies without cleaning up (here: _exit in a child) still frees the lock.
TEST_F(InstanceLockTest, LockIsReleasedWhenTheHolderDiesAbruptly) {
    int toParent[2];
    int toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(toParent[0]);
        close(toChild[1]);
        InstanceLock held;
        const char state = held.acquire() == InstanceLock::Result::Acquired ? 'y' : 'n';
        (void)!write(toParent[1], &state, 1);
        char go;
        (void)!read(toChild[0], &go, 1);  // until the parent has tried (or has gone)
        _exit(3);
    }
    close(toParent[1]);
    close(toChild[0]);
    char state = 0;
    const ssize_t got = read(toParent[0], &state, 1);
    InstanceLock parent;
    const InstanceLock::Result whileHeld = parent.acquire();
    close(toChild[1]);  // lets the child go
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(toParent[0]);
    ASSERT_EQ(got, 1);
    ASSERT_EQ(state, 'y');
    EXPECT_EQ(whileHeld, InstanceLock::Result::HeldElsewhere);
    EXPECT_EQ(parent.acquire(), InstanceLock::Result::Acquired);
}

}  // namespace
}  // namespace tarnwick
