#include "package/crc32_words.h"

#include <gtest/gtest.h>

#include <random>
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

uint32_t crcOf(const std::string& text, int* ok = nullptr) {
    uint32_t result = 0xDEADBEEFu;
    const int r = Crc32Words(reinterpret_cast<const uint8_t*>(text.data()),
                             static_cast<uint32_t>(text.size()), result);
    if (ok != nullptr) *ok = r;
    return result;
}

TEST(Crc32Words, KnownVectors) {
    int ok = 0;
    EXPECT_EQ(crcOf("abcd", &ok), 0x64636261u);
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(crcOf("abcdefgh"), 0x094CA728u);
    EXPECT_EQ(crcOf("abcdefghi"), 0x094CA728u);
    EXPECT_EQ(crcOf("abcdefghijk"), 0x094CA728u);
    EXPECT_EQ(crcOf("abcdefghijkl"), referenceCrc({'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l'}));
}

TEST(Crc32Words, EmptyFailsAndShortTailGivesZero) {
    int ok = 9;
    EXPECT_EQ(crcOf("", &ok), 0u);
    EXPECT_EQ(ok, 0);
    for (const char* text : {"a", "ab", "abc"}) {
        EXPECT_EQ(crcOf(text, &ok), 0u) << text;
        EXPECT_EQ(ok, 1) << text;
    }
}

TEST(Crc32Words, MatchesTheBitwiseDefinitionOnRandomData) {
    std::mt19937 rng(20261206);
    for (int round = 0; round < 300; ++round) {
        const size_t length = rng() % 2100;
        std::vector<uint8_t> data(length);
        for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
        uint32_t result = 0;
        const int ok = Crc32Words(data.data(), static_cast<uint32_t>(length), result);
        ASSERT_EQ(ok, length == 0 ? 0 : 1);
        ASSERT_EQ(result, referenceCrc(data)) << "length " << length;
    }
}

}  // namespace
}  // namespace tarnwick
