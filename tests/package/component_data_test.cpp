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
    const struct {
        uint8_t method;
        const std::vector<uint8_t>& bytes;
        uint32_t good;
        uint32_t bad;
    } cases[] = {{1, sumBytes, 0xABCD1234u, 0x00001235u}, {3, sumBytes, 0xABCD1234u, 0x00001235u},
                 {4, sumBytes, 0xABCD1234u, 0x00001235u}, {6, sumBytes, 0xABCD1234u, 0x00001235u},
                 {7, sumBytes, 0xABCD1234u, 0x00001235u}, {2, crcBytes, crc, crc ^ 0x00010000u},
                 {5, crcBytes, crc, crc ^ 0x00010000u}};
    for (const auto& c : cases) {
        EXPECT_EQ(loadWith(c.bytes, c.method, c.good), 1) << int(c.method);
        EXPECT_EQ(length, c.bytes.size()) << int(c.method);
        if (&c.bytes == &sumBytes) {
            EXPECT_EQ(sum, 0x1234u) << int(c.method);
        }
        EXPECT_EQ(std::vector<uint8_t>(buffer.get(), buffer.get() + length), c.bytes) << int(c.method);
        EXPECT_EQ(loadWith(c.bytes, c.method, c.bad), 0) << int(c.method);
        EXPECT_EQ(length, 0u) << int(c.method);
    }
}

TEST_F(ComponentData, EmptyFilesUnknownMethodsMissingFilesAndBadPositionsAreRefused) {
    EXPECT_EQ(loadWith({}, 2, 0), 0);  // an empty file has no checksum
    for (uint8_t method : {0, 8, 0xFF}) EXPECT_EQ(loadWith({1, 2, 3}, method, 6), 0) << int(method);
    package.components[3].dataFilePath = scratch.file("missing.bin");
    EXPECT_EQ(loadPosition(3), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(sum, 0u);
    package.components[3].dataFilePath.clear();
    EXPECT_EQ(loadPosition(3), 0);
    EXPECT_EQ(loadPosition(20), 0);
    EXPECT_EQ(loadPosition(-1), 0);
}

TEST_F(ComponentData, SixteenMebibytesFitOneByteMoreDoesNot) {
    std::vector<uint8_t> bytes(kComponentDataLimit, 0x01);
    EXPECT_EQ(loadWith(bytes, 1, kComponentDataLimit & 0xFFFFu), 1);
    EXPECT_EQ(length, kComponentDataLimit);
    bytes.push_back(0x01);
    EXPECT_EQ(loadWith(bytes, 1, (kComponentDataLimit + 1) & 0xFFFFu), 0);
    EXPECT_EQ(length, 0u);
}

TEST(ComponentCheck, ByWriteMethod) {
    const uint8_t data[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    EXPECT_EQ(checkComponentData(2, 0x094CA728u, data, 8, 0), 1);
    EXPECT_EQ(checkComponentData(5, 0x094CA728u, data, 8, 0), 1);
    EXPECT_EQ(checkComponentData(2, 0x094CA728u, data, 0, 0), 0);
    EXPECT_EQ(checkComponentData(7, 0xFFFF0010u, data, 8, 0x10), 1);
    EXPECT_EQ(checkComponentData(0, 0, data, 8, 0), 0);
}

}  // namespace
}  // namespace tarnwick
