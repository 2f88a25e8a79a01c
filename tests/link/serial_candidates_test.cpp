#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/serial_candidates.h"

namespace tarnwick {
namespace {

TEST(SerialCandidates, NamedPathsInOrderEmptyEntriesSkippedAtMostSixteen) {
    std::string list = ":/dev/a::/dev/b:";
    for (int k = 0; k < 20; ++k) list += ":/dev/x" + std::to_string(k);
    setenv("TARNWICK_SERIAL_PORTS", list.c_str(), 1);
    auto all = serialDeviceCandidates();
    EXPECT_EQ(serialDevicePath(0), "/dev/a");
    EXPECT_EQ(serialDevicePath(1), "/dev/b");
    EXPECT_EQ(serialDevicePath(15), "/dev/x13");
    EXPECT_EQ(serialDevicePath(16), "");
    EXPECT_EQ(serialDevicePath(-1), "");
    EXPECT_EQ(all.size(), 16u);
    setenv("TARNWICK_SERIAL_PORTS", "", 1);
    EXPECT_TRUE(serialDeviceCandidates().empty());
}

}  // namespace
}  // namespace tarnwick
