#include "package/crc32_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnwick {
namespace {

// Whole words only: a tail of one to three bytes is left out; nothing at all is a failure.
// The long vector (2,051 bytes i*7+3, worked out bit by bit from the definition) takes the
// four-words-at-a-time path as well as the single words after it.
TEST(Crc32Words, KnownVectorsShortTailsAndEmpty) {
    std::string pattern(2051, '\0');
    for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 7 + 3);
    const struct {
        std::string text;
        uint32_t crc;
        int ok;
    } cases[] = {{"abcd", 0x64636261u, 1}, {"abcdefgh", 0x094CA728u, 1}, {"abcdefghi", 0x094CA728u, 1},
                 {"abcdefghijk", 0x094CA728u, 1}, {"a", 0, 1}, {"", 0, 0}, {pattern, 0xE120DE35u, 1}};
    for (const auto& c : cases) {
        uint32_t result = 0xDEADBEEFu;
        EXPECT_EQ(Crc32Words(reinterpret_cast<const uint8_t*>(c.text.data()), static_cast<uint32_t>(c.text.size()),
                             result),
                  c.ok)
            << c.text.size();
        EXPECT_EQ(result, c.crc) << c.text.size();
    }
}

}  // namespace
}  // namespace tarnwick
