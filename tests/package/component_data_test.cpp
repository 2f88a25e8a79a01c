// Reading a component's file back and checking it by its write method.
#include "package/component_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "package/crc32_words.h"
#include "package/package_fixture.h"

namespace tarnwick {
namespace {

class ComponentData : public ::testing::Test {
protected:
    test::TempDir scratch;
    UpdatePackage package;
    std::unique_ptr<uint8_t[]> buffer{new uint8_t[kComponentBufferSize]};
    uint32_t length = 0;
    uint32_t sum = 0;

    // Writes a component file for position 3 with the given write method and checksum and loads it.
    int loadWith(const std::vector<uint8_t>& bytes, uint8_t writeMethod, uint32_t checksum) {
        const std::string path = scratch.file("firmdata03.bin");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        ComponentEntry& c = package.components[3];
        c.dataFilePath = path;
        c.writeMethod = writeMethod;
        c.checksum = checksum;
        return loadPosition(3);
    }
    int loadPosition(int position) {
        length = 0xDEAD;
        sum = 0xBEEF;
        return loadComponentData(package, position, buffer.get(), length, sum);
    }
};

TEST_F(ComponentData, ByteSumMethodsCompareTheLowSixteenBitsCrcMethodsTheWholeValue) {
    std::vector<uint8_t> sumBytes(0x1234 / 0xFF, 0xFF);
    sumBytes.push_back(static_cast<uint8_t>(0x1234 % 0xFF));  // the bytes add up to 0x1234
    const std::vector<uint8_t> crcBytes = pkgbuild::patternData(4098, 5);
    uint32_t crc = 0;
    Crc32Words(crcBytes.data(), static_cast<uint32_t>(crcBytes.size()), crc);
    // The byte sums compare their low 16 bits, the word CRCs the whole value.
    for (uint8_t method : {1, 3, 4, 6, 7, 2, 5}) {
        const bool isCrc = method == 2 || method == 5;
        const std::vector<uint8_t>& bytes = isCrc ? crcBytes : sumBytes;
        EXPECT_EQ(loadWith(bytes, method, isCrc ? crc : 0xABCD1234u), 1) << int(method);
        EXPECT_EQ(std::vector<uint8_t>(buffer.get(), buffer.get() + length), bytes) << int(method);
        if (!isCrc) { EXPECT_EQ(sum, 0x1234u) << int(method); }
        EXPECT_EQ(loadWith(bytes, method, isCrc ? crc ^ 0x00010000u : 0x00001235u), 0) << int(method);
        EXPECT_EQ(length, 0u) << int(method);
    }
}

TEST_F(ComponentData, EmptyFilesUnknownMethodsMissingFilesAndBadPositionsAreRefused) {
    EXPECT_EQ(loadWith({}, 2, 0), 0);  // an empty file has no checksum
    for (uint8_t method : {0, 8, 0xFF}) EXPECT_EQ(loadWith({1, 2, 3}, method, 6), 0) << int(method);
    package.components[3].dataFilePath = scratch.file("missing.bin");
    EXPECT_EQ(loadPosition(3), 0);
    EXPECT_EQ(length + sum, 0u);
    for (int position : {20, -1}) EXPECT_EQ(loadPosition(position), 0);
}

}  // namespace
}  // namespace tarnwick
