#include "package/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/package_fixture.h"

namespace tarnwick {
namespace {

using testing_package::memoryStream;

TEST(HeaderLineRead, SplitsAtLineFeedKeepingCarriageReturn) {
    std::vector<uint8_t> bytes{'a', 'b', '\r', '\n', 'c', '\n', 'd'};
    std::FILE* f = memoryStream(bytes);
    HeaderLine line;
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.text(), "ab\r\n");
    EXPECT_EQ(line.length(), 4u);
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.text(), "c\n");
    ASSERT_TRUE(line.read(f));  // a last line without terminator is still a line
    EXPECT_EQ(line.text(), "d");
    EXPECT_FALSE(line.read(f));
    EXPECT_EQ(line.length(), 0u);
    std::fclose(f);
}

TEST(HeaderLineRead, LongLineIsCutAt255BytesAndTheRestIsTheNextLine) {
    std::string text(300, 'x');
    text += "\n";
    std::vector<uint8_t> bytes(text.begin(), text.end());
    std::FILE* f = memoryStream(bytes);
    HeaderLine line;
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.length(), 255u);
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.length(), 46u);
    std::fclose(f);
}

TEST(HeaderLineRead, TextEndsAtFirstNulButTheReadConsumesTheWholeLine) {
    std::vector<uint8_t> bytes{'a', 'b', 0, 'c', '\n', 'z', '\n'};
    std::FILE* f = memoryStream(bytes);
    HeaderLine line;
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.length(), 2u);
    EXPECT_EQ(line.text(), "ab");
    ASSERT_TRUE(line.read(f));
    EXPECT_EQ(line.text(), "z\n");
    std::fclose(f);
}

TEST(HeaderLineFields, TrimsTrailingWhiteSpaceOnly) {
    EXPECT_EQ(trimRight("  VORTAG3 B007 \t\v\f\r\n"), "  VORTAG3 B007");
    EXPECT_EQ(trimRight(" \r\n"), "");
}

TEST(HeaderLineFields, ColumnsAreOfTheUntrimmedTextAndStopAtItsEnd) {
    HeaderLine line;
    line.assign("0123456789\r\n");
    EXPECT_EQ(line.columns(2, 4), "234");
    EXPECT_EQ(line.columns(8, 15), "89\r\n");
    EXPECT_EQ(line.textField(8, 15), "89");
    EXPECT_EQ(line.columns(12, 20), "");
    EXPECT_EQ(line.columns(200, 260), "");
    EXPECT_EQ(line.hexField(40, 47), 0u);
}

TEST(HexValue, ConvertsLikeAnUnsignedBase16Conversion) {
    EXPECT_EQ(hexValue("0000ABCD"), 0xABCDu);
    EXPECT_EQ(hexValue("  1f"), 0x1Fu);
    EXPECT_EQ(hexValue("0x1F"), 0x1Fu);
    EXPECT_EQ(hexValue("0X7fz9"), 0x7Fu);
    EXPECT_EQ(hexValue("12 34"), 0x12u);
    EXPECT_EQ(hexValue("+10"), 0x10u);
    EXPECT_EQ(hexValue("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(hexValue("-10"), 0xFFFFFFF0u);
    EXPECT_EQ(hexValue(""), 0u);
    EXPECT_EQ(hexValue("   "), 0u);
    EXPECT_EQ(hexValue("zz"), 0u);
    EXPECT_EQ(hexValue("0x"), 0u);
    EXPECT_EQ(hexValue("FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(hexValue("100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(hexValue("0000000012345678"), 0x12345678u);
}

TEST(HexValue, EightBitFieldKeepsTheLowByte) {
    HeaderLine line;
    line.assign("00000114\r\n");
    EXPECT_EQ(line.hexField(0, 7), 0x114u);
    EXPECT_EQ(line.hexField8(0, 7), 0x14u);
}

}  // namespace
}  // namespace tarnwick
