#include <gtest/gtest.h>

#include "link/frame.h"

namespace tarnwick {
namespace {

TEST(FrameFormat, DataFrameCarriesStateLengthAndAddressBigEndian) {
    const uint8_t data[2] = {0x10, 0x20};
    auto f = buildDataFrame('P', 0x26, 3, 0x01020304, data, 2);
    ASSERT_EQ(f.size(), 13u);
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.end() - 1),
              (std::vector<uint8_t>{0xAA, 'P', 0x26, 3, 0x00, 0x02, 0x01, 0x02, 0x03, 0x04, 0x10, 0x20}));
    EXPECT_EQ(f.back(), frameChecksum(f.data(), f.size() - 1));
}

TEST(FrameFormat, BlockSizesByTarget) {
    for (uint8_t id : {0x11, 0x12, 0x13, 0x31}) EXPECT_EQ(largestFrameFor(id), 267u) << int(id);
    for (uint8_t id : {0x26, 0x27, 0x28, 0x29}) EXPECT_EQ(largestFrameFor(id), 523u) << int(id);
    for (uint8_t id : {0x01, 0x14, 0x25, 0x2A}) EXPECT_EQ(largestFrameFor(id), 1035u) << int(id);
}

TEST(Percent, NeitherDividesByZeroNorWraps) {
    EXPECT_EQ(percentOf(0x100, 0x100, 0x100), 100);  // a one-byte range
    EXPECT_EQ(percentOf(0x0FF, 0x100, 0x100), 0);
    // (position - start) x 100 needs more than 32 bits here.
    EXPECT_EQ(percentOf(0xC0000000u, 0, 0xFFFFFFFFu), 75);
    EXPECT_EQ(percentOf(0x80000000u, 0x40000000u, 0xC0000000u), 50);
    // Below the start (an empty frame at the start address) and past the end.
    EXPECT_EQ(percentOf(0x0FFF, 0x1000, 0x2000), 0);
    EXPECT_EQ(percentOf(0x3000, 0x1000, 0x2000), 100);
}

}  // namespace
}  // namespace tarnwick
