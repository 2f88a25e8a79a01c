// The product's identity and component versions, from its answer to "VIALL?\r".
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tarnwick {

constexpr size_t kInfoTextMax = 24;
constexpr int kInfoSlots = 8;
constexpr size_t kSlotOfIdSize = 88;
// The model whose answer carries only four component lines and no MAC/product/package lines.
extern const char* const kShortAnswerModel;

// Component id of each slot of the answer.
constexpr std::array<uint8_t, kInfoSlots> kSlotIds = {0x01, 0x00, 0x11, 0x15, 0x2A, 0x00, 0x02, 0x03};

struct TargetInfo {
    std::string model;
    std::string serialNumber;
    std::string macAddress;
    std::string productId;
    std::string packageId;
    std::string hardwareId;
    std::array<uint8_t, kInfoSlots> slotIds{};
    std::array<std::string, kInfoSlots> slotNames{};
    std::array<std::string, kInfoSlots> slotVersions{};
    std::array<uint8_t, kSlotOfIdSize> slotOfId{};
    uint32_t missingSlots = 0;

    void clear() { *this = TargetInfo{}; }
    // Component lines the answer carries: 8 - missingSlots.
    int componentLines() const { return kInfoSlots - static_cast<int>(missingSlots); }
    // Whether the MAC, product id and package id lines are part of the answer.
    bool hasNetworkLines() const { return model != kShortAnswerModel; }
    // Stores one answer line (as received, CR included) read with prefix.
    void parseLine(int lineIndex, const std::string& prefix, const std::string& line);
    // True when every used slot reports a real version.
    [[nodiscard]] bool versionsValid() const;
};

}  // namespace tarnwick
