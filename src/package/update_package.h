// The parsed update package: header fields and one row per component.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tarnwick {

constexpr int kMaxComponents = 20;
constexpr int kMaxTargetId = 85;
constexpr uint8_t kNoPosition = 0xFF;

// The bits of a component's attributes word: which route writes the component, and how.
enum : uint32_t {
    kAttrRs232c = 1u,          // bit 0: written over RS-232C through the frame protocol
    kAttrEthernetFrames = 2u,  // bit 1: written over Ethernet through the frame protocol
    kAttrNetworkModule = 4u,   // bit 2: the network module's, sent through its command port and TFTP
    kAttrEthernet = kAttrEthernetFrames | kAttrNetworkModule,  // whatever an Ethernet update writes
};
// Bits 16..23 of the attributes word are the kind mark of a network-module component.
constexpr unsigned kKindMarkShift = 16;

struct ComponentEntry {
    uint8_t id = 0;
    std::string name;
    std::string versionText;
    uint16_t versionNumber = 0;  // derived from versionText; rewritten before it is read
    uint32_t checksum = 0;
    uint32_t startAddress = 0;
    uint32_t endAddress = 0;
    uint32_t sumEndAddress = 0;
    uint32_t capacity = 0;
    uint8_t reservedByte = 0;
    uint8_t writeMethod = 0;
    uint32_t attributes = 0;
    uint8_t kindMark = 0;  // bits 16..23 of attributes (kKindMarkShift)
    std::string switchPath;
    std::string versionLabel;
    std::string dataFilePath;

    // Whether any of the attribute bits (kAttr...) is set.
    bool hasAttribute(uint32_t bits) const { return (attributes & bits) != 0; }
    // endAddress - startAddress + 1 in unsigned 32-bit arithmetic.
    uint32_t dataSize() const { return endAddress - startAddress + 1u; }
};

struct UpdatePackage {
    std::string title;
    std::string toolId;
    std::string genreCode;
    std::string auxCode;
    std::string modelCode;
    std::string modelName;
    std::string packageId;
    uint32_t packageChecksum = 0;
    uint8_t componentCount = 0;
    uint8_t statusEntryCount = 0;
    uint8_t baudIndex = 0;
    uint32_t commMask = 7;
    std::array<uint8_t, kMaxComponents> order{};
    std::array<uint8_t, kMaxTargetId + 1> positionOfId{};
    std::array<ComponentEntry, kMaxComponents> components{};
    bool selectAllowed = false;

    UpdatePackage() { clear(); }

    // Every text empty, every number 0, commMask 7, no positions, selectAllowed false.
    // versionNumber is left alone: it is always rewritten before it is read.
    void clear();

    // Position of an id, kNoPosition when the id is not in the package (or out of range).
    uint8_t positionOf(uint32_t id) const;

    // The component that holds an id, or nullptr.
    const ComponentEntry* componentById(uint32_t id) const;
};

// Label suffix of a kindMark: 1 "(b)", 2 "(ic)", 3 "(i)", 4 "(w)" only when withWeb.
const char* kindSuffix(uint8_t kindMark, bool withWeb);

}  // namespace tarnwick
