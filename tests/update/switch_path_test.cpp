// The hops along a switch path, and the check each write method gets.
#include <gtest/gtest.h>

#include "update/serial/check_methods.h"
#include "update/serial/switch_path.h"

namespace tarnwick {
namespace {

std::string hopsOf(const std::string& path, uint8_t from, uint8_t to) {
    std::vector<SwitchHop> hops;
    if (!planSwitchHops(path, from, to, hops)) return "refused";
    std::string out;
    char buf[16];
    for (const SwitchHop& h : hops) {
        std::snprintf(buf, sizeof buf, "%s%02X>%02X", out.empty() ? "" : " ", h.from, h.to);
        out += buf;
    }
    return out;
}

TEST(SwitchPath, FromTheSystemMicrocomputer) {
    EXPECT_EQ(hopsOf("0102", 0, 0x02), "01>02");
    EXPECT_EQ(hopsOf("0102", 1, 0x02), "01>02");
    EXPECT_EQ(hopsOf("011121", 1, 0x21), "01>11 11>21");
}

TEST(SwitchPath, ContinuesFromThePreviousTargetWhenThePathPassesIt) {
    EXPECT_EQ(hopsOf("011121", 0x11, 0x21), "11>21");
    // A previous target off the path: start again from 1.
    EXPECT_EQ(hopsOf("011121", 0x31, 0x21), "01>11 11>21");
}

TEST(SwitchPath, APathThatDoesNotEndWithTheTargetIsRefused) {
    EXPECT_EQ(hopsOf("0111", 1, 0x21), "refused");
    EXPECT_EQ(hopsOf("", 1, 0x21), "refused");
}

TEST(SwitchPath, APathOfTheTargetAloneMakesNoHop) {
    EXPECT_EQ(hopsOf("41", 0, 0x41), "");
    // A pair that is not the current target is passed over.
    EXPECT_EQ(hopsOf("02030405", 0x03, 0x05), "03>04 04>05");
}

TEST(SwitchPath, PairsAreHexadecimalAndAnOddTailIsOneDigit) {
    EXPECT_EQ(switchPathPair("2a1F", 0), 0x2A);
    EXPECT_EQ(switchPathPair("2a1F", 2), 0x1F);
    EXPECT_EQ(switchPathPair("011", 2), 0x1);
    EXPECT_EQ(switchPathPair("01", 2), 0);  // past the end
}

TEST(CheckMethods, ByWriteMethodAndCheckMode) {
    using enum CheckMethod;
    const CheckMethod verify[] = {ReadBack, ReadBack, ReadBack, Checksum, Fail, StatusWord, None};
    const CheckMethod sum[] = {Checksum, Checksum, ReadBack, Checksum, Fail, StatusWord, None};
    for (uint8_t m = 1; m <= 7; ++m) {
        EXPECT_EQ(checkMethodFor(m, 0), verify[m - 1]) << "method " << int(m);
        EXPECT_EQ(checkMethodFor(m, 1), sum[m - 1]) << "method " << int(m);
    }
    EXPECT_EQ(checkMethodFor(0, 0), Fail);
    EXPECT_EQ(checkMethodFor(8, 1), Fail);
}

}  // namespace
}  // namespace tarnwick
