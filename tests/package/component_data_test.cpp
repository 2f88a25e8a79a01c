// Reading a component's file back and checking it by its write method.
#include "package/component_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "package/crc32_words.h"
#include "package/package_fixture.h"
#include "support/window_fixture.h"

namespace tarnwick {
namespace {

using testing_package::ScratchDir;

class ComponentData : public test::WindowTest {
protected:
    ScratchDir scratch;
    std::unique_ptr<uint8_t[]> buffer{new uint8_t[kComponentBufferSize]};

    // A component file at position 3 with the given bytes, write method and checksum.
    void setComponent(const std::vector<uint8_t>& bytes, uint8_t writeMethod, uint32_t checksum) {
        const std::string path = scratch.file("firmdata03.bin");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        ComponentEntry& c = window->package.components[3];
        c.dataFilePath = path;
        c.writeMethod = writeMethod;
        c.checksum = checksum;
    }

    int loadIt(uint32_t& length, uint32_t& sum) {
        length = 0xDEAD;
        sum = 0xBEEF;
        return window->loadComponentData(3, buffer.get(), length, sum);
    }
};

std::vector<uint8_t> bytesSummingTo0x1234() {
    std::vector<uint8_t> bytes(0x1234 / 0xFF, 0xFF);
    bytes.push_back(static_cast<uint8_t>(0x1234 % 0xFF));
    return bytes;
}

TEST_F(ComponentData, ByteSumMethodsCompareTheLowSixteenBits) {
    const std::vector<uint8_t> bytes = bytesSummingTo0x1234();
    uint32_t length = 0;
    uint32_t sum = 0;
    for (uint8_t method : {1, 3, 4, 6, 7}) {
        setComponent(bytes, method, 0xABCD1234u);
        EXPECT_EQ(loadIt(length, sum), 1) << int(method);
        EXPECT_EQ(length, bytes.size());
        EXPECT_EQ(sum, 0x1234u);
        EXPECT_EQ(std::vector<uint8_t>(buffer.get(), buffer.get() + length), bytes);
    }
    setComponent(bytes, 1, 0x00001235u);
    EXPECT_EQ(loadIt(length, sum), 0);
    EXPECT_EQ(length, 0u);
}

TEST_F(ComponentData, CrcMethodsCompareTheWholeChecksum) {
    const std::vector<uint8_t> bytes = pkgbuild::patternData(4098, 5);
    uint32_t crc = 0;
    Crc32Words(bytes.data(), static_cast<uint32_t>(bytes.size()), crc);
    uint32_t length = 0;
    uint32_t sum = 0;
    for (uint8_t method : {2, 5}) {
        setComponent(bytes, method, crc);
        EXPECT_EQ(loadIt(length, sum), 1) << int(method);
        EXPECT_EQ(length, 4098u);
        setComponent(bytes, method, crc ^ 0x00010000u);
        EXPECT_EQ(loadIt(length, sum), 0) << int(method);
        EXPECT_EQ(length, 0u);
    }
    setComponent({}, 2, 0);  // an empty file has no checksum
    EXPECT_EQ(loadIt(length, sum), 0);
}

TEST_F(ComponentData, UnknownMethodsAndMissingFilesAreRefused) {
    uint32_t length = 0;
    uint32_t sum = 0;
    for (uint8_t method : {0, 8, 0xFF}) {
        setComponent({1, 2, 3}, method, 6);
        EXPECT_EQ(loadIt(length, sum), 0) << int(method);
    }
    window->package.components[3].dataFilePath = scratch.file("missing.bin");
    EXPECT_EQ(loadIt(length, sum), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(sum, 0u);
    window->package.components[3].dataFilePath.clear();
    EXPECT_EQ(loadIt(length, sum), 0);
    EXPECT_EQ(window->loadComponentData(20, buffer.get(), length, sum), 0);
    EXPECT_EQ(window->loadComponentData(-1, buffer.get(), length, sum), 0);
}

TEST_F(ComponentData, SixteenMebibytesFitOneByteMoreDoesNot) {
    std::vector<uint8_t> bytes(kComponentDataLimit, 0x01);
    uint32_t length = 0;
    uint32_t sum = 0;
    setComponent(bytes, 1, kComponentDataLimit & 0xFFFFu);
    EXPECT_EQ(loadIt(length, sum), 1);
    EXPECT_EQ(length, kComponentDataLimit);
    bytes.push_back(0x01);
    setComponent(bytes, 1, (kComponentDataLimit + 1) & 0xFFFFu);
    EXPECT_EQ(loadIt(length, sum), 0);
    EXPECT_EQ(length, 0u);
}

TEST(ComponentCheck, ByWriteMethod) {
    const uint8_t data[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    EXPECT_EQ(checkComponentData(2, 0x094CA728u, data, 8, 0), 1);
    EXPECT_EQ(checkComponentData(5, 0x094CA728u, data, 9 - 1, 0), 1);
    EXPECT_EQ(checkComponentData(2, 0x094CA728u, data, 0, 0), 0);
    EXPECT_EQ(checkComponentData(7, 0xFFFF0010u, data, 8, 0x10), 1);
    EXPECT_EQ(checkComponentData(0, 0, data, 8, 0), 0);
}

}  // namespace
}  // namespace tarnwick
