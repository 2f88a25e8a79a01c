// The hops along a switch path.
#include <gtest/gtest.h>

#include "update/switch_path.h"

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

TEST(SwitchPath, HopsByPathAndPreviousTarget) {
    const struct { const char* path; uint8_t from, to; const char* hops; } cases[] = {
        {"0102", 0, 0x02, "01>02"},  // from the system microcomputer
        {"0102", 1, 0x02, "01>02"},
        {"011121", 1, 0x21, "01>11 11>21"},
        {"011121", 0x11, 0x21, "11>21"},        // on from a previous target the path passes
        {"011121", 0x31, 0x21, "01>11 11>21"},  // a previous target off the path: again from 1
        {"0111", 1, 0x21, "refused"},           // the path does not end with the target
        {"", 1, 0x21, "refused"},
        {"41", 0, 0x41, ""},                       // the target alone: no hop
        {"02030405", 0x03, 0x05, "03>04 04>05"},  // pairs before the current target are passed over
    };
    for (const auto& c : cases) EXPECT_EQ(hopsOf(c.path, c.from, c.to), c.hops) << c.path << " from " << int(c.from);
}

}  // namespace
}  // namespace tarnwick
