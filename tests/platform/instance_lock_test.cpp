// The single-instance guard, on a private runtime directory.
#include "platform/posix/instance_lock.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarnwick
