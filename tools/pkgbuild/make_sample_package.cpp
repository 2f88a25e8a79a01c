// make-sample-package [--serial-only | --frames-only] OUT.bin: writes the demo package for the
// model "0002" (QT818LX): system microcomputer, boot loader (read back after writing), DSP,
// PLD, on-screen-display data and network-module parts, with deterministic data and the
// checksums each write method expects. --serial-only allows RS-232C alone (a station then
// updates over RS-232C); --frames-only leaves out the network-module parts (an Ethernet
// update of it then writes only through the frame protocol).
#include <cstdio>
#include <string>

#include "pkgbuild/package_builder.h"

using tarnwick::pkgbuild::ComponentDescription;
using tarnwick::pkgbuild::PackageDescription;
using tarnwick::pkgbuild::patternData;
using tarnwick::kAttrEthernetFrames;
using tarnwick::kAttrNetworkModule;
using tarnwick::kAttrRs232c;
using tarnwick::kKindMarkShift;

namespace {

constexpr uint32_t kFrames = kAttrRs232c | kAttrEthernetFrames;
// A network-module component of a kind (1 boot loader, 3 image).
constexpr uint32_t networkModule(uint32_t kind) { return kAttrNetworkModule | kind << kKindMarkShift; }

ComponentDescription component(uint8_t id, const char* name, const char* version,
                               uint32_t start, size_t size, uint8_t writeMethod,
                               uint32_t attributes, const char* switchPath) {
    ComponentDescription c;
    c.id = id;
    c.name = name;
    c.versionText = version;
    c.startAddress = start;
    c.data = patternData(size, id);
    c.capacity = static_cast<uint32_t>(size) * 2u;
    c.writeMethod = writeMethod;
    c.attributes = attributes;
    c.switchPath = switchPath;
    return c;
}

PackageDescription samplePackage() {
    PackageDescription p;
    p.title = "QT818LX firmware update package";
    p.auxCode = "0000";
    p.modelName = "QT818LX";
    p.packageId = "0102";
    p.packageChecksum = 0x5A3C0F12u;
    p.baudIndex = 4;
    p.commMask = 3;
    p.components = {
        component(0x01, "MAIN", "0105", 0x00010000u, 48 * 1024, 2, kFrames, "01"),
        component(0x02, "BOOT", "0101", 0x00000000u, 16 * 1024, 3, kAttrRs232c | 1u << kKindMarkShift, "0102"),
        component(0x11, "DSP", "0203", 0x00000000u, 32 * 1024, 1, kFrames, "0111"),
        component(0x21, "PLD", "0110", 0x00000000u, 24 * 1024, 3, kFrames, "0121"),
        component(0x31, "OSD", "0102", 0x00100000u, 40 * 1024, 4, kFrames, "0131"),
        component(0x41, "NETBOOT", "0100", 0x00000000u, 20 * 1024, 6, networkModule(1), "41"),
        component(0x42, "NETIMG", "0104", 0x00000000u, 64 * 1024, 7, networkModule(3), "42"),
    };
    p.components[0].versionLabel = "1.05 (2026-11-20)";
    p.otherLines = {"MW:ON", "BP:OFF", "PV:0102"};
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string option = argc == 3 ? argv[1] : "";
    const bool serialOnly = option == "--serial-only";
    const bool framesOnly = option == "--frames-only";
    if (argc != 2 && !serialOnly && !framesOnly) {
        std::fprintf(stderr, "usage: make-sample-package [--serial-only | --frames-only] OUT.bin\n");
        return 2;
    }
    PackageDescription package = samplePackage();
    if (serialOnly) package.commMask = 1;
    if (framesOnly) {
        std::erase_if(package.components, [](const ComponentDescription& c) { return (c.attributes & kAttrNetworkModule) != 0; });
    }
    const char* out = argv[argc - 1];
    if (tarnwick::pkgbuild::writePackage(out, package) != 1) {
        std::fprintf(stderr, "make-sample-package: cannot write %s\n", out);
        return 1;
    }
    return 0;
}
