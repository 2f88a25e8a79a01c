#include "package/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/package_fixture.h"

namespace tarnwick {
namespace {

// The lines read from bytes, each as its text and its length.
std::vector<std::pair<std::string, size_t>> readLines(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    std::FILE* f = testing_package::memoryStream(bytes);
    std::vector<std::pair<std::string, size_t>> lines;
    HeaderLine line;
    while (line.read(f)) lines.emplace_back(line.text(), line.length());
    EXPECT_EQ(line.length(), 0u);
    std::fclose(f);
    return lines;
}

using Lines = std::vector<std::pair<std::string, size_t>>;

TEST(HeaderLineRead, SplitsAtLineFeedKeepingCarriageReturnAndCutsAt255Bytes) {
    // A last line without terminator is still a line. (The fields cut from lines are asserted
    // through the header parser.)
    EXPECT_EQ(readLines("ab\r\nc\nd"), (Lines{{"ab\r\n", 4}, {"c\n", 2}, {"d", 1}}));
    EXPECT_EQ(readLines(std::string(300, 'x') + "\n"),
              (Lines{{std::string(255, 'x'), 255}, {std::string(45, 'x') + "\n", 46}}));
    // The text ends at the first NUL, but the read consumes the whole line.
    EXPECT_EQ(readLines(std::string("ab\0c\nz\n", 7)), (Lines{{"ab", 2}, {"z\n", 2}}));
}

// Like an unsigned base-16 conversion: blanks, sign and 0x prefix taken, saturating, stops at junk.
TEST(HexValue, ConvertsLikeAnUnsignedBase16Conversion) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"0000ABCD", 0xABCDu},  {"  1f", 0x1Fu},         {"0x1F", 0x1Fu},       {"0X7fz9", 0x7Fu},
        {"12 34", 0x12u},       {"+10", 0x10u},          {"-1", 0xFFFFFFFFu},   {"-10", 0xFFFFFFF0u},
        {"", 0u},               {"   ", 0u},             {"zz", 0u},            {"0x", 0u},
        {"FFFFFFFF", 0xFFFFFFFFu}, {"100000000", 0xFFFFFFFFu}, {"0000000012345678", 0x12345678u}};
    for (const auto& [text, value] : cases) EXPECT_EQ(hexValue(text), value) << '"' << text << '"';
}

}  // namespace
}  // namespace tarnwick
