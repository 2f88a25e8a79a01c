#include "pkgbuild/package_builder.h"

#include <array>
#include <cstdio>

#include "package/crc32_words.h"

namespace tarnwick::pkgbuild {

namespace {

std::string column(const std::string& text, size_t width) {
    std::string cell = text.substr(0, width);
    cell.resize(width, ' ');
    return cell;
}

std::string hex8(uint32_t value) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%08X", value);
    return text.data();
}

std::string hex2(uint32_t value) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%02X", value & 0xFFu);
    return text.data();
}

bool writeAll(std::FILE* file, const void* data, size_t size) {
    return size == 0 || std::fwrite(data, 1, size, file) == size;
}

}  // namespace

uint32_t ComponentDescription::endAddressValue() const {
    if (endAddress) return *endAddress;
    return startAddress + static_cast<uint32_t>(data.size()) - 1u;
}

uint32_t ComponentDescription::checksumValue() const {
    return checksum ? *checksum : checksumFor(writeMethod, data);
}

uint32_t checksumFor(uint8_t writeMethod, const std::vector<uint8_t>& data) {
    if (writeMethod == 2 || writeMethod == 5) {
        uint32_t crc = 0;
        Crc32Words(data.data(), static_cast<uint32_t>(data.size()), crc);
        return crc;
    }
    uint32_t sum = 0;
    for (uint8_t b : data) sum += b;
    return sum;
}

std::string fixedLine(const std::string& text, size_t width, bool lfOnly) {
    const std::string terminator = lfOnly ? "\n" : "\r\n";
    const size_t body = width > terminator.size() ? width - terminator.size() : 0;
    return column(text, body) + terminator;
}

std::string packageLine(const PackageDescription& p) {
    const uint32_t count = p.componentCountField.value_or(static_cast<uint32_t>(p.components.size()));
    const uint32_t statusCount =
        p.statusEntryCount != 0 ? p.statusEntryCount : static_cast<uint32_t>(p.components.size());
    const std::string id = column(p.packageId, 4);
    std::string text = column(p.genreCode, 8) + column(p.auxCode, 8) + column(p.modelCode, 8) +
                       column(p.modelName, 8) + id.substr(0, 2) + "-" + id.substr(2, 2) + "   " +
                       hex8(p.packageChecksum) + hex8(count) + hex8(statusCount) +
                       hex8(p.baudIndex) + hex8(p.commMask);
    return fixedLine(text, 96, p.lfOnly);
}

std::string componentLine(const ComponentDescription& c, bool lfOnly) {
    const uint32_t end = c.endAddressValue();
    const uint32_t size = end - c.startAddress + 1u;
    std::string text = hex2(c.id) + column("", 6) + column(c.name, 8) + column(c.versionText, 8) +
                       hex8(c.checksumValue()) + hex8(c.startAddress) + hex8(end) +
                       hex8(c.sumEndAddress.value_or(end)) + hex8(c.capacity.value_or(size)) +
                       hex8(c.reservedByte) + hex8(c.writeMethod) + hex8(c.attributes) +
                       column("", 8) + column(c.switchPath, 16) + column(c.versionLabel, 20);
    return fixedLine(text, 160, lfOnly);
}

std::string headerText(const PackageDescription& p) {
    const std::string terminator = p.lfOnly ? "\n" : "\r\n";
    std::string text = p.title + terminator + p.toolId + terminator + packageLine(p);
    for (const ComponentDescription& c : p.components) text += componentLine(c, p.lfOnly);
    for (const std::string& other : p.otherLines) text += fixedLine(other, 16, p.lfOnly);
    text += fixedLine("HEADER END", 16, p.lfOnly);
    return text;
}

std::vector<uint8_t> buildPackage(const PackageDescription& p) {
    const std::string header = headerText(p);
    std::vector<uint8_t> bytes(header.begin(), header.end());
    for (const ComponentDescription& c : p.components) {
        bytes.insert(bytes.end(), c.data.begin(), c.data.end());
    }
    bytes.insert(bytes.end(), p.trailingBytes.begin(), p.trailingBytes.end());
    return bytes;
}

int writePackage(const std::string& path, const PackageDescription& p) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    const std::string header = headerText(p);
    bool ok = writeAll(file, header.data(), header.size());
    for (const ComponentDescription& c : p.components) {
        ok = ok && writeAll(file, c.data.data(), c.data.size());
    }
    ok = ok && writeAll(file, p.trailingBytes.data(), p.trailingBytes.size());
    ok = (std::fclose(file) == 0) && ok;
    return ok ? 1 : 0;
}

std::vector<uint8_t> patternData(size_t size, uint32_t seed) {
    std::vector<uint8_t> data(size);
    uint32_t state = seed * 2654435761u + 0x9E3779B9u;
    if (state == 0) state = 1;
    for (uint8_t& b : data) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state >> 24);
    }
    return data;
}

ComponentDescription patternComponent(uint8_t id, const std::string& name, const std::string& version,
                                      const std::string& switchPath, uint8_t writeMethod, size_t size) {
    ComponentDescription c;
    c.id = id;
    c.name = name;
    c.versionText = version;
    c.switchPath = switchPath;
    c.writeMethod = writeMethod;
    c.startAddress = 0x1000u * id;
    c.data = patternData(size, id);
    return c;
}

}  // namespace tarnwick::pkgbuild
