#include "package/header_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/package_fixture.h"

namespace tarnwick {
namespace {

using pkgbuild::PackageDescription;
using testing_package::memoryStream;
using testing_package::smallPackage;

struct Parsed {
    HeaderParseResult result;
    UpdatePackage package;
    std::string message() const { return result.message ? result.message : ""; }
    int nextByte = -2;  // the stream's next byte after the parse
};

Parsed parseBytes(std::vector<uint8_t> bytes) {
    Parsed parsed;
    std::FILE* f = memoryStream(bytes);
    parsed.result = parseHeader(f, parsed.package);
    parsed.nextByte = std::fgetc(f);
    std::fclose(f);
    return parsed;
}

Parsed parseText(const std::string& text) {
    return parseBytes(std::vector<uint8_t>(text.begin(), text.end()));
}

Parsed parsePackage(const PackageDescription& p) { return parseBytes(pkgbuild::buildPackage(p)); }

std::string crlf(const std::string& text) { return text + "\r\n"; }

TEST(HeaderParse, FillsThePackageAndStopsAtTheFirstDataByte) {
    PackageDescription p = smallPackage();
    p.title = "  Title with lead";
    p.auxCode = "AUX1";
    p.packageId = "12AB";
    p.packageChecksum = 0xCAFEF00Du;
    p.statusEntryCount = 5;
    p.baudIndex = 3;
    p.commMask = 2;
    const Parsed r = parsePackage(p);
    ASSERT_EQ(r.result.result, 1) << r.message();
    EXPECT_EQ(r.result.message, nullptr);
    const UpdatePackage& pkg = r.package;
    EXPECT_EQ(pkg.title, "  Title with lead");
    EXPECT_EQ(pkg.toolId, "VORTAG3 B007");
    EXPECT_EQ(pkg.genreCode, "3001");
    EXPECT_EQ(pkg.auxCode, "AUX1");
    EXPECT_EQ(pkg.modelCode, "0002");
    EXPECT_EQ(pkg.modelName, "QT818LX");
    EXPECT_EQ(pkg.packageId, "12AB");
    EXPECT_EQ(pkg.packageChecksum, 0xCAFEF00Du);
    EXPECT_EQ(pkg.componentCount, 3);
    EXPECT_EQ(pkg.statusEntryCount, 5);
    EXPECT_EQ(pkg.baudIndex, 3);
    EXPECT_EQ(pkg.commMask, 2u);
    EXPECT_TRUE(pkg.selectAllowed);
    EXPECT_EQ(pkg.order[0], 0x01);
    EXPECT_EQ(pkg.order[1], 0x11);
    EXPECT_EQ(pkg.order[2], 0x21);
    EXPECT_EQ(pkg.order[3], 0);
    EXPECT_EQ(pkg.positionOfId[0x11], 1);
    EXPECT_EQ(pkg.positionOfId[0x02], kNoPosition);
    const ComponentEntry& dsp = pkg.components[1];
    EXPECT_EQ(dsp.id, 0x11);
    EXPECT_EQ(dsp.name, "DSP");
    EXPECT_EQ(dsp.versionText, "0203");
    EXPECT_EQ(dsp.versionNumber, 0x0203);
    EXPECT_EQ(dsp.versionLabel, "2.03 beta");
    EXPECT_EQ(dsp.checksum, p.components[1].checksumValue());
    EXPECT_EQ(dsp.startAddress, 0x1000u);
    EXPECT_EQ(dsp.endAddress, 0x1000u + 777u - 1u);
    EXPECT_EQ(dsp.sumEndAddress, dsp.endAddress);
    EXPECT_EQ(dsp.capacity, 777u);
    EXPECT_EQ(dsp.dataSize(), 777u);
    EXPECT_EQ(dsp.writeMethod, 1);
    EXPECT_EQ(dsp.attributes, 0x00010001u);
    EXPECT_EQ(dsp.kindMark, 1);
    EXPECT_EQ(dsp.switchPath, "0111");
    EXPECT_TRUE(dsp.dataFilePath.empty());
    EXPECT_EQ(r.nextByte, p.components[0].data[0]);
}

TEST(HeaderParse, VersionNumberFromFirstAndLastTwoCharacters) {
    EXPECT_EQ(versionNumberOf("0105"), 0x0105);
    EXPECT_EQ(versionNumberOf("1A2B3C"), 0x1A3C);
    EXPECT_EQ(versionNumberOf("7"), 0x0707);
    EXPECT_EQ(versionNumberOf(""), 0);
    EXPECT_EQ(versionNumberOf("V1.2"), 0);  // "V1" and ".2" are not numbers
}

TEST(HeaderParse, LfOnlyPackageWithItsOwnPaddingLoads) {
    PackageDescription p = smallPackage();
    p.lfOnly = true;
    const Parsed r = parsePackage(p);
    ASSERT_EQ(r.result.result, 1) << r.message();
    EXPECT_EQ(r.package.components[2].name, "PLD");
    EXPECT_EQ(r.nextByte, p.components[0].data[0]);
}

TEST(HeaderParse, LfOnlyTerminatorsOnCrLfPaddingAreAShortLine) {
    PackageDescription p = smallPackage();
    std::string header = pkgbuild::headerText(p);
    // Replace CR LF by LF on the package line only: 95 bytes.
    std::string text = crlf(p.title) + crlf(p.toolId);
    std::string line3 = pkgbuild::packageLine(p);
    line3.erase(line3.size() - 2, 1);
    EXPECT_EQ(parseText(text + line3 + header.substr(text.size() + 96)).message(),
              "Reading error of update information!");
}

TEST(HeaderParse, ToolIdentifierChecks) {
    PackageDescription p = smallPackage();
    p.toolId = "VORTAG3 B007   \t";
    EXPECT_EQ(parsePackage(p).result.result, 1);
    p.toolId = " VORTAG3 B007";
    Parsed r = parsePackage(p);
    EXPECT_EQ(r.result.result, 0);
    EXPECT_EQ(r.message(), "Format error of update file!");
    EXPECT_EQ(r.package.toolId, " VORTAG3 B007");
    p.toolId = "VORTAG3 B008";
    EXPECT_EQ(parsePackage(p).message(), "Format error of update file!");
}

TEST(HeaderParse, EndOfFileWithinTheFirstThreeLines) {
    EXPECT_EQ(parseText("").message(), "Reading error of update information!");
    EXPECT_EQ(parseText("title\r\n").message(), "Reading error of update information!");
    EXPECT_EQ(parseText("title\r\nVORTAG3 B007\r\n").message(), "Reading error of update information!");
}

TEST(HeaderParse, PackageLineMustBe96Bytes) {
    PackageDescription p = smallPackage();
    const std::string prefix = crlf(p.title) + crlf(p.toolId);
    const std::string line3 = pkgbuild::packageLine(p);
    ASSERT_EQ(line3.size(), 96u);
    std::string shorter = line3;
    shorter.erase(10, 1);
    std::string longer = line3;
    longer.insert(10, " ");
    EXPECT_EQ(parseText(prefix + shorter).message(), "Reading error of update information!");
    EXPECT_EQ(parseText(prefix + longer).message(), "Reading error of update information!");
}

TEST(HeaderParse, GenreAndModelCodes) {
    PackageDescription p = smallPackage();
    p.genreCode = "3002";
    Parsed r = parsePackage(p);
    EXPECT_EQ(r.message(), "The genre/model code is different!");
    EXPECT_EQ(r.package.genreCode, "3002");  // fields stay stored
    EXPECT_EQ(r.package.modelName, "QT818LX");
    p = smallPackage();
    p.modelCode = "0003";
    EXPECT_EQ(parsePackage(p).message(), "The genre/model code is different!");
}

TEST(HeaderParse, ComponentCountBounds) {
    PackageDescription p = smallPackage();
    p.componentCountField = 0;
    EXPECT_EQ(parsePackage(p).message(), "The number error of firmware composition!");
    p.componentCountField = 21;
    EXPECT_EQ(parsePackage(p).message(), "The number error of firmware composition!");
    p.componentCountField = 0x100;  // low 8 bits 0
    EXPECT_EQ(parsePackage(p).message(), "The number error of firmware composition!");
}

TEST(HeaderParse, ComponentCountUsesTheLowEightBits) {
    PackageDescription p = smallPackage();
    const pkgbuild::ComponentDescription first = p.components[0];
    p.components.clear();
    for (int i = 0; i < 20; ++i) {
        pkgbuild::ComponentDescription c = first;
        c.id = static_cast<uint8_t>(i + 1);
        c.data = pkgbuild::patternData(10, static_cast<uint32_t>(i));
        p.components.push_back(c);
    }
    p.componentCountField = 0x114;
    const Parsed r = parsePackage(p);
    ASSERT_EQ(r.result.result, 1) << r.message();
    EXPECT_EQ(r.package.componentCount, 20);
    EXPECT_EQ(r.package.order[19], 20);
    // 20 lines are expected: with 19 the "HEADER END" area is read as a component line.
    p.components.pop_back();
    EXPECT_EQ(parsePackage(p).message(), "Reading error of firmware information!");
}

TEST(HeaderParse, ComponentLineChecks) {
    PackageDescription p = smallPackage();
    p.componentCountField = 4;  // one line more than present: the 16-byte lines come next
    EXPECT_EQ(parsePackage(p).message(), "Reading error of firmware information!");

    p = smallPackage();
    const std::string header = pkgbuild::headerText(p);
    const size_t firstComponent = crlf(p.title).size() + crlf(p.toolId).size() + 96;
    EXPECT_EQ(parseText(header.substr(0, firstComponent + 160 + 80)).message(),
              "Reading error of firmware information!");
    std::string shortLine = header;
    shortLine.erase(firstComponent + 140, 1);
    EXPECT_EQ(parseText(shortLine).message(), "Reading error of firmware information!");
}

TEST(HeaderParse, TargetIdRange) {
    for (uint8_t bad : {uint8_t{0x00}, uint8_t{0x56}, uint8_t{0xFF}}) {
        PackageDescription p = smallPackage();
        p.components[1].id = bad;
        const Parsed r = parsePackage(p);
        EXPECT_EQ(r.message(), "Target ID error!") << int(bad);
        EXPECT_EQ(r.package.order[0], 0x01);  // the rows before stay
        EXPECT_EQ(r.package.order[1], 0);
    }
    PackageDescription p = smallPackage();
    p.components[1].id = 0x55;
    EXPECT_EQ(parsePackage(p).result.result, 1);
}

TEST(HeaderParse, RepeatedIdLaterPositionWins) {
    PackageDescription p = smallPackage();
    p.components[2].id = 0x01;
    const Parsed r = parsePackage(p);
    ASSERT_EQ(r.result.result, 1);
    EXPECT_EQ(r.package.order[0], 0x01);
    EXPECT_EQ(r.package.order[2], 0x01);
    EXPECT_EQ(r.package.positionOfId[0x01], 2);
    EXPECT_EQ(r.package.components[0].name, "MAIN");
    EXPECT_EQ(r.package.components[2].name, "PLD");
}

TEST(HeaderParse, OtherInformationLines) {
    PackageDescription p = smallPackage();
    p.otherLines = {"MW:ON", "XX:whatever", "MW:OFF"};
    EXPECT_FALSE(parsePackage(p).package.selectAllowed);
    p.otherLines = {"MW:OFF", "BP:1", "PV:2", "MW:ON   \t"};
    EXPECT_TRUE(parsePackage(p).package.selectAllowed);
    p.otherLines = {"MW: ON"};
    EXPECT_FALSE(parsePackage(p).package.selectAllowed);
    p.otherLines = {};
    const Parsed r = parsePackage(p);
    EXPECT_EQ(r.result.result, 1);
    EXPECT_FALSE(r.package.selectAllowed);
}

TEST(HeaderParse, HeaderEndMustBeASixteenByteLine) {
    PackageDescription p = smallPackage();
    std::string header = pkgbuild::headerText(p);
    const size_t end = header.rfind("HEADER END");
    std::string wrong = header.substr(0, end) + "HEADER END\r\n";  // 12 bytes
    EXPECT_EQ(parseText(wrong).message(), "Reading error of other information!");
    EXPECT_EQ(parseText(header.substr(0, end)).message(), "Reading error of other information!");
    std::string longer = header.substr(0, end) + "HEADER END     \r\n";  // 17 bytes
    EXPECT_EQ(parseText(longer).message(), "Reading error of other information!");
}

TEST(HeaderParse, FirstFailureWins) {
    PackageDescription p = smallPackage();
    p.toolId = "WRONG";
    p.modelCode = "9999";
    p.componentCountField = 0;
    EXPECT_EQ(parsePackage(p).message(), "Format error of update file!");
    p.toolId = "VORTAG3 B007";
    EXPECT_EQ(parsePackage(p).message(), "The genre/model code is different!");
}

}  // namespace
}  // namespace tarnwick
