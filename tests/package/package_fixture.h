// Helpers for the package tests: file contents, packages in memory as streams, a small package.
#pragma once
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pkgbuild/package_builder.h"
#include "support/temp_dir_env.h"

namespace tarnwick::testing_package {

inline std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

// An in-memory binary stream over bytes (kept alive by the caller).
inline std::FILE* memoryStream(std::vector<uint8_t>& bytes) {
#ifdef _WIN32
    std::FILE* f = std::tmpfile();  // no memory streams in the Windows C library
    if (f != nullptr && (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fseek(f, 0, SEEK_SET) != 0)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
#else
    if (bytes.empty()) bytes.reserve(1);
    return fmemopen(bytes.data(), bytes.size(), "rb");
#endif
}

// A small valid package: three components with different write methods.
inline pkgbuild::PackageDescription smallPackage() {
    auto component = [](uint8_t id, const char* name, const char* version, uint8_t method, uint32_t attributes,
                        const char* path, size_t size, uint32_t seed) {
        pkgbuild::ComponentDescription c;
        c.id = id;
        c.name = name;
        c.versionText = version;
        c.startAddress = 0x1000;
        c.writeMethod = method;
        c.attributes = attributes;
        c.switchPath = path;
        c.data = pkgbuild::patternData(size, seed);
        return c;
    };
    pkgbuild::PackageDescription p;
    p.components = {component(0x01, "MAIN", "0105", 2, kAttrRs232c | kAttrEthernetFrames, "01", 1000, 1),
                    component(0x11, "DSP", "0203", 1, kAttrRs232c | 1u << kKindMarkShift, "0111", 777, 2),
                    component(0x21, "PLD", "0110", 3, kAttrRs232c | kAttrEthernetFrames, "0121", 4099, 3)};
    p.components[1].versionLabel = "2.03 beta";
    return p;
}

}  // namespace tarnwick::testing_package
