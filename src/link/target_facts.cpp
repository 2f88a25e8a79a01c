#include "link/target_facts.h"

#include <array>

namespace tarnwick {

namespace {

using std::chrono::seconds;

struct Row {
    uint8_t id;
    TargetFacts facts;
};

constexpr const char* kErasing = "Erasing...";
constexpr const char* kUpdating = "Updating...";
constexpr seconds k10s{10};
constexpr seconds k60s{60};
constexpr seconds k180s{180};
constexpr seconds k600s{600};

constexpr TargetFacts kDefault{};

// Columns: block size, skips blank blocks, keeps the write sum, last block sent once,
// first block's text, then the answer waits of an information request, a first and a last
// block, and whether the part restarts slowly after a switch.
constexpr std::array<Row, 19> kRows = {{
    {0x02, {1024, false, false, false, kErasing, k10s, k60s, k60s, true}},  // DM8 parts
    {0x03, {1024, false, false, false, kErasing, k10s, k60s, k60s, true}},
    {0x04, {1024, false, false, false, kErasing, k10s, k60s, k60s, true}},
    {0x11, {256, true, false, false, kErasing, k60s, k60s, k60s, false}},  // DSP
    {0x12, {256, true, false, false, kErasing, k60s, k60s, k60s, false}},
    {0x13, {256, true, false, false, kErasing, k60s, k60s, k60s, false}},
    {0x14, {1024, true, false, false, kErasing, k180s, k60s, k60s, false}},
    {0x15, {1024, false, false, false, kUpdating, k10s, k60s, k60s, false}},  // PLD
    {0x21, {1024, true, false, false, kErasing, k180s, k60s, k60s, false}},
    {0x22, {1024, false, false, false, kUpdating, k10s, k60s, k60s, false}},
    {0x23, {1024, false, false, false, kUpdating, k10s, k60s, k60s, false}},
    {0x24, {1024, true, false, false, kErasing, k180s, k60s, k60s, false}},
    {0x25, {1024, false, false, true, kErasing, k10s, k60s, k600s, false}},
    {0x26, {512, true, true, false, kErasing, k10s, k180s, k180s, false}},
    {0x27, {512, true, true, false, kErasing, k10s, k180s, k180s, false}},
    {0x28, {512, true, true, false, kErasing, k10s, k180s, k180s, false}},
    {0x29, {512, true, true, false, kErasing, k10s, k180s, k180s, false}},
    {0x2A, {1024, false, false, false, kErasing, k10s, k180s, k180s, false}},  // OSDDAT
    {0x31, {256, false, false, false, kErasing, k10s, k60s, k60s, false}},
}};

}  // namespace

const TargetFacts& targetFacts(uint8_t targetId) {
    for (const Row& row : kRows) {
        if (row.id == targetId) return row.facts;
    }
    return kDefault;
}

}  // namespace tarnwick
