// Block sizes and progress percentages; the frames' layout is checked against the simulated
// product's own decoder in the transfer tests.
#include <gtest/gtest.h>

#include "link/frame.h"

namespace tarnwick {
namespace {

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
