// Writes update packages in the file layout the program loads: title, tool identifier,
// package line (96 bytes), component lines (160 bytes), other-information lines (16 bytes)
// up to "HEADER END", then the component data back to back. For tests, benchmarks and the
// sample package.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/update_package.h"

namespace tarnwick::pkgbuild {

struct ComponentDescription {
    uint8_t id = 1;
    std::string name;
    std::string versionText = "0100";
    std::string versionLabel;
    uint32_t startAddress = 0;
    std::optional<uint32_t> endAddress;  // default: startAddress + data size - 1
    std::optional<uint32_t> sumEndAddress;  // default: the end address
    std::optional<uint32_t> capacity;  // default: the data size
    uint8_t reservedByte = 0;
    uint8_t writeMethod = 1;
    uint32_t attributes = kAttrRs232c;
    std::string switchPath;
    std::vector<uint8_t> data;
    std::optional<uint32_t> checksum;  // default: the right one for writeMethod

    uint32_t endAddressValue() const;
    uint32_t checksumValue() const;
};

struct PackageDescription {
    std::string title = "Tarnwick test package";
    std::string toolId = "VORTAG3 B007";
    std::string genreCode = "3001";
    std::string auxCode = "0000";
    std::string modelCode = "0002";
    std::string modelName = "QT818LX";
    std::string packageId = "0101";  // four characters, written to columns 32-33 and 35-36
    uint32_t packageChecksum = 0;
    std::optional<uint32_t> componentCountField;  // default: the number of components
    uint8_t statusEntryCount = 0;  // 0: the number of components
    uint8_t baudIndex = 4;
    uint32_t commMask = 3;
    std::vector<ComponentDescription> components;
    // Other-information lines before "HEADER END" (each padded to 16 bytes).
    std::vector<std::string> otherLines{"MW:ON", "BP:OFF", "PV:0100"};
    bool lfOnly = false;               // LF terminators instead of CR LF
    std::vector<uint8_t> trailingBytes;  // bytes after the last component's data
};

// The checksum loadComponentData expects for data written with writeMethod: Crc32Words
// for 2 and 5, the byte sum for the others.
uint32_t checksumFor(uint8_t writeMethod, const std::vector<uint8_t>& data);

// A header line padded with spaces to width bytes including its terminator (longer text is
// cut so the line keeps its width).
std::string fixedLine(const std::string& text, size_t width, bool lfOnly);

std::string packageLine(const PackageDescription& package);
std::string componentLine(const ComponentDescription& component, bool lfOnly);

// The header: title to "HEADER END".
std::string headerText(const PackageDescription& package);

// The whole package as bytes.
std::vector<uint8_t> buildPackage(const PackageDescription& package);

// Writes the package to path (header, data, trailing bytes); 1 on success.
int writePackage(const std::string& path, const PackageDescription& package);

// Deterministic data of a size: a simple generator seeded by seed.
std::vector<uint8_t> patternData(size_t size, uint32_t seed);

// A component of pattern data seeded by its id, starting at 0x1000 times its id.
ComponentDescription patternComponent(uint8_t id, const std::string& name, const std::string& version,
                                      const std::string& switchPath, uint8_t writeMethod, size_t size);

}  // namespace tarnwick::pkgbuild
