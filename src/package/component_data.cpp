#include "package/component_data.h"

#include <cstdio>

#include "package/crc32_words.h"

namespace tarnwick {

namespace {
uint32_t sumOf(const uint8_t* data, size_t count) {
    uint32_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum += data[i];
    return sum;
}
}  // namespace

bool readComponentFile(const std::string& path, uint8_t* buffer, uint32_t limit,
                       uint32_t& length, uint32_t& byteSum) {
    length = 0;
    byteSum = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const size_t stored = std::fread(buffer, 1, limit, file);
    byteSum = sumOf(buffer, stored);
    const bool beyondLimit = stored == limit && std::fgetc(file) != EOF;
    std::fclose(file);
    if (beyondLimit) return false;
    length = static_cast<uint32_t>(stored);
    return true;
}

bool checkComponentData(uint8_t writeMethod, uint32_t checksum, const uint8_t* data,
                        uint32_t length, uint32_t byteSum) {
    switch (writeMethod) {
        case 2:
        case 5: {
            uint32_t crc = 0;
            return Crc32Words(data, length, crc) == 1 && crc == checksum;
        }
        case 1:
        case 3:
        case 4:
        case 6:
        case 7:
            return (byteSum & 0xFFFFu) == (checksum & 0xFFFFu);
        default:
            return false;
    }
}

bool loadComponentData(const UpdatePackage& package, int position, uint8_t* buffer, uint32_t& length,
                       uint32_t& byteSum) {
    length = 0;
    byteSum = 0;
    if (position < 0 || position >= kMaxComponents || buffer == nullptr) return false;
    const ComponentEntry& entry = package.components[static_cast<size_t>(position)];
    uint32_t read = 0;
    if (!readComponentFile(entry.dataFilePath, buffer, kComponentDataLimit, read, byteSum)) return false;
    if (!checkComponentData(entry.writeMethod, entry.checksum, buffer, read, byteSum)) return false;
    length = read;
    return true;
}

}  // namespace tarnwick
