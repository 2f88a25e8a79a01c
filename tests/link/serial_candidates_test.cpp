#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/serial_candidates.h"

namespace tarnwick {
namespace {

TEST(SerialCandidates, NamedPathsInOrderEmptyEntriesSkippedAtMostSixteen) {
    std::string list = ":/dev/a::/dev/b:";
    for (int k = 0; k < 20; ++k) list += ":/dev/x" + std::to_string(k);
    setenv("TARNWICK_SERIAL_PORTS", list.c_str(), 1);
    EXPECT_EQ(serialDeviceCandidates().size(), 16u);
    EXPECT_EQ(serialDevicePath(0) + "|" + serialDevicePath(1) + "|" + serialDevicePath(15) + "|" + serialDevicePath(16) +
                  serialDevicePath(-1), "/dev/a|/dev/b|/dev/x13|");
    setenv("TARNWICK_SERIAL_PORTS", "", 1);
    EXPECT_TRUE(serialDeviceCandidates().empty());
}

}  // namespace
}  // namespace tarnwick
