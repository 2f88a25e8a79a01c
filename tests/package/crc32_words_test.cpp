#include "package/crc32_words.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

// The checksum by its definition, one bit at a time.
uint32_t referenceCrc(const std::vector<uint8_t>& bytes) {
    uint32_t crc = 0;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        const uint32_t word = bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
                              (static_cast<uint32_t>(bytes[i + 3]) << 24);
        for (int bit = 31; bit >= 0; --bit) {
            const bool top = (crc >> 31) != 0;
            crc = (crc << 1) | ((word >> bit) & 1u);
            if (top) crc ^= 0x04C11DB7u;
        }
    }
    return crc;
}

// Whole words only: a tail of one to three bytes is left out; nothing at all is a failure.
TEST(Crc32Words, KnownVectorsShortTailsAndEmpty) {
    const struct {
        std::string text;
        uint32_t crc;
        int ok;
    } cases[] = {{"abcd", 0x64636261u, 1},      {"abcdefgh", 0x094CA728u, 1}, {"abcdefghi", 0x094CA728u, 1},
                 {"abcdefghijk", 0x094CA728u, 1}, {"a", 0, 1}, {"ab", 0, 1}, {"abc", 0, 1}, {"", 0, 0}};
    for (const auto& c : cases) {
        uint32_t result = 0xDEADBEEFu;
        EXPECT_EQ(Crc32Words(reinterpret_cast<const uint8_t*>(c.text.data()), static_cast<uint32_t>(c.text.size()),
                             result),
                  c.ok)
            << c.text;
        EXPECT_EQ(result, c.crc) << c.text;
    }
}

TEST(Crc32Words, MatchesTheBitwiseDefinitionOnRandomData) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> data(rng() % 2100);
        for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
        uint32_t result = 0;
        ASSERT_EQ(Crc32Words(data.data(), static_cast<uint32_t>(data.size()), result), data.empty() ? 0 : 1);
        ASSERT_EQ(result, referenceCrc(data)) << "length " << data.size();
    }
}

}  // namespace
}  // namespace tarnwick
