// Helpers for the package tests: a fresh temporary directory, file contents, packages in
// memory as streams.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pkgbuild/package_builder.h"

namespace tarnwick::testing_package {

// A directory under the system's temporary directory, removed with its contents at the end.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-pkg-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const char* made = mkdtemp(name.data());
        path_ = made != nullptr ? made : "";
    }
    ~ScratchDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

// An in-memory binary stream over bytes (kept alive by the caller).
inline std::FILE* memoryStream(std::vector<uint8_t>& bytes) {
    if (bytes.empty()) bytes.reserve(1);
    return fmemopen(bytes.data(), bytes.size(), "rb");
}

// A small valid package: three components with different write methods.
inline pkgbuild::PackageDescription smallPackage() {
    pkgbuild::PackageDescription p;
    pkgbuild::ComponentDescription main;
    main.id = 0x01;
    main.name = "MAIN";
    main.versionText = "0105";
    main.startAddress = 0x1000;
    main.writeMethod = 2;
    main.attributes = 0x00000003;
    main.switchPath = "01";
    main.data = pkgbuild::patternData(1000, 1);
    pkgbuild::ComponentDescription dsp = main;
    dsp.id = 0x11;
    dsp.name = "DSP";
    dsp.versionText = "0203";
    dsp.writeMethod = 1;
    dsp.attributes = 0x00010001;
    dsp.switchPath = "0111";
    dsp.versionLabel = "2.03 beta";
    dsp.data = pkgbuild::patternData(777, 2);
    pkgbuild::ComponentDescription pld = main;
    pld.id = 0x21;
    pld.name = "PLD";
    pld.versionText = "0110";
    pld.writeMethod = 3;
    pld.switchPath = "0121";
    pld.data = pkgbuild::patternData(4099, 3);
    p.components = {main, dsp, pld};
    return p;
}

}  // namespace tarnwick::testing_package
