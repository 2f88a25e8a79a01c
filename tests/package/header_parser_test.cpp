#include "package/header_parser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "package/package_fixture.h"

namespace tarnwick {
namespace {

using pkgbuild::PackageDescription;
using testing_package::smallPackage;

constexpr const char* kUpdateInfo = "Reading error of update information!";
constexpr const char* kFirmwareInfo = "Reading error of firmware information!";
constexpr const char* kOtherInfo = "Reading error of other information!";
constexpr const char* kFormat = "Format error of update file!";
constexpr const char* kGenreModel = "The genre/model code is different!";
constexpr const char* kCount = "The number error of firmware composition!";
constexpr const char* kTargetId = "Target ID error!";

struct Parsed {
    HeaderParseResult result;
    UpdatePackage package;
    int nextByte = -2;  // the stream's next byte after the parse
    std::string message() const { return result.message ? result.message : ""; }
};

Parsed parseBytes(std::vector<uint8_t> bytes) {
    Parsed parsed;
    std::FILE* f = testing_package::memoryStream(bytes);
    parsed.result = parseHeader(f, parsed.package);
    parsed.nextByte = std::fgetc(f);
    std::fclose(f);
    return parsed;
}

Parsed parseText(const std::string& text) { return parseBytes(std::vector<uint8_t>(text.begin(), text.end())); }
Parsed parsePackage(const PackageDescription& p) { return parseBytes(pkgbuild::buildPackage(p)); }

// The fields every screen and step reads (model, package id, counts, components' versions,
// paths and checksums); a repeated id points at its later row.
TEST(HeaderParse, FillsThePackageAndStopsAtTheFirstDataByte) {
    PackageDescription p = smallPackage();
    p.packageChecksum = 0xCAFEF00Du;
    p.commMask = 2;
    p.baudIndex = 3;
    p.components[2].id = 0x01;
    for (bool lfOnly : {false, true}) {
        p.lfOnly = lfOnly;
        const Parsed r = parsePackage(p);
        ASSERT_EQ(r.result.result, 1) << r.message();
        EXPECT_EQ(r.nextByte, p.components[0].data[0]) << "LF only " << lfOnly;
        const UpdatePackage& pkg = r.package;
        EXPECT_EQ(std::tie(pkg.modelName, pkg.packageChecksum, pkg.commMask, pkg.componentCount, pkg.baudIndex),
                  std::make_tuple("QT818LX", 0xCAFEF00Du, 2u, 3, 3));
        EXPECT_EQ(std::tie(pkg.positionOfId[0x11], pkg.positionOfId[0x01], pkg.positionOfId[0x02]),
                  std::make_tuple(1, 2, kNoPosition));
        const ComponentEntry& dsp = pkg.components[1];
        EXPECT_EQ(std::tie(dsp.versionText, dsp.versionLabel, dsp.switchPath, dsp.writeMethod, dsp.kindMark),
                  std::make_tuple("0203", "2.03 beta", "0111", 1, 1));
        EXPECT_EQ(std::tie(dsp.checksum, dsp.startAddress, dsp.endAddress, dsp.capacity),
                  std::make_tuple(p.components[1].checksumValue(), 0x1000u, 0x1000u + 776u, 777u));
    }
}

TEST(HeaderParse, VersionNumberFromFirstAndLastTwoCharacters) {
    // "V1" and ".2" are not numbers.
    const std::pair<const char*, int> cases[] = {{"0105", 0x0105}, {"1A2B3C", 0x1A3C}, {"7", 0x0707}, {"", 0}, {"V1.2", 0}};
    for (const auto& [text, number] : cases) EXPECT_EQ(versionNumberOf(text), number) << text;
}

// Field checks in header order; an empty message means the package is accepted.
TEST(HeaderParse, FieldChecksGiveTheirMessageAndTheFirstFailureWins) {
    const struct { const char* name; std::function<void(PackageDescription&)> edit; const char* message; } cases[] = {
        {"tool id with trailing blanks", [](auto& p) { p.toolId = "VORTAG3 B007   \t"; }, ""},
        {"tool id with a leading blank", [](auto& p) { p.toolId = " VORTAG3 B007"; }, kFormat},
        {"other tool id", [](auto& p) { p.toolId = "VORTAG3 B008"; }, kFormat},
        {"genre", [](auto& p) { p.genreCode = "3002"; }, kGenreModel},
        {"model", [](auto& p) { p.modelCode = "0003"; }, kGenreModel},
        {"count 0", [](auto& p) { p.componentCountField = 0; }, kCount},
        {"count 21", [](auto& p) { p.componentCountField = 21; }, kCount},
        {"count 0x100 (low byte 0)", [](auto& p) { p.componentCountField = 0x100; }, kCount},
        {"count one above the lines", [](auto& p) { p.componentCountField = 4; }, kFirmwareInfo},
        {"target id 0x00", [](auto& p) { p.components[1].id = 0x00; }, kTargetId},
        {"target id 0x56", [](auto& p) { p.components[1].id = 0x56; }, kTargetId},
        {"target id 0x55", [](auto& p) { p.components[1].id = 0x55; }, ""},
        {"no other lines", [](auto& p) { p.otherLines = {}; }, ""},
        {"tool, model and count wrong",
         [](auto& p) { p.toolId = "WRONG", p.modelCode = "9999", p.componentCountField = 0; }, kFormat},
        {"model and count wrong", [](auto& p) { p.modelCode = "9999", p.componentCountField = 0; }, kGenreModel},
    };
    for (const auto& c : cases) {
        PackageDescription p = smallPackage();
        c.edit(p);
        const Parsed r = parsePackage(p);
        EXPECT_EQ(r.message(), c.message) << c.name;
        EXPECT_EQ(r.result.result, c.message[0] == '\0' ? 1 : 0) << c.name;
    }
}

// Damaged line structure: the message names the section being read.
TEST(HeaderParse, DamagedLinesNameTheSectionBeingRead) {
    const PackageDescription p = smallPackage();
    const std::string header = pkgbuild::headerText(p);
    const std::string prefix = p.title + "\r\n" + p.toolId + "\r\n";
    const std::string line3 = pkgbuild::packageLine(p);
    ASSERT_EQ(line3.size(), 96u);
    const size_t firstComponent = prefix.size() + 96;
    const std::string beforeEnd = header.substr(0, header.rfind("HEADER END"));
    auto edited = [](std::string s, size_t at, size_t erase, const char* insert) { return s.replace(at, erase, insert); };
    const struct { const char* name; std::string text; const char* message; } cases[] = {
        {"empty", "", kUpdateInfo},
        {"title only", "title\r\n", kUpdateInfo},
        {"no package line", "title\r\nVORTAG3 B007\r\n", kUpdateInfo},
        {"package line of 95 bytes", prefix + edited(line3, 10, 1, ""), kUpdateInfo},
        {"package line of 97 bytes", prefix + edited(line3, 10, 0, " "), kUpdateInfo},
        {"LF only on CR LF padding", prefix + edited(line3, 94, 1, "") + header.substr(firstComponent), kUpdateInfo},
        {"component lines cut", header.substr(0, firstComponent + 240), kFirmwareInfo},
        {"component line short", edited(header, firstComponent + 140, 1, ""), kFirmwareInfo},
        {"HEADER END of 12 bytes", beforeEnd + "HEADER END\r\n", kOtherInfo},
        {"no HEADER END", beforeEnd, kOtherInfo},
        {"HEADER END of 17 bytes", beforeEnd + "HEADER END     \r\n", kOtherInfo},
    };
    for (const auto& c : cases) EXPECT_EQ(parseText(c.text).message(), c.message) << c.name;
}

TEST(HeaderParse, LastMwLineDecidesWhetherSelectionIsAllowed) {
    const struct { std::vector<std::string> lines; bool allowed; } cases[] = {{{"MW:ON", "XX:whatever", "MW:OFF"}, false},
                 {{"MW:OFF", "BP:1", "PV:2", "MW:ON   \t"}, true},
                 {{"MW: ON"}, false},
                 {{}, false}};
    for (const auto& c : cases) {
        PackageDescription p = smallPackage();
        p.otherLines = c.lines;
        EXPECT_EQ(parsePackage(p).package.selectAllowed, c.allowed) << ::testing::PrintToString(c.lines);
    }
}

}  // namespace
}  // namespace tarnwick
