// The shortened status that a station publishes in its slot instead of a window.
#pragma once
#include <cstdint>
#include <string>

#include "package/update_package.h"

namespace tarnwick {

// The short label of a status text: the first matching beginning of the label table.
std::string stationShortLabel(const std::string& text);

// The target text of a station status line.
std::string stationTargetText(const UpdatePackage& package, uint8_t targetId, const std::string& text,
                              uint8_t currentNumber, uint8_t selectedCount);

// Slot layout of the shared status area.
constexpr size_t kSlotSize = 564;
constexpr size_t kSlotCount = 20;
constexpr size_t kSharedAreaSize = kSlotSize * kSlotCount;  // 11280
constexpr size_t kSlotLabelOffset = 0;
constexpr size_t kSlotLabelSize = 16;
constexpr size_t kSlotMessageOffset = 16;
constexpr size_t kSlotMessageSize = 512;
constexpr size_t kSlotTargetOffset = 528;
constexpr size_t kSlotTargetSize = 32;
constexpr size_t kSlotPercentOffset = 560;

// Copies text into a field of `size` bytes, always NUL-terminated, cut to fit.
void copyToField(uint8_t* field, size_t size, const std::string& text);

// The slot of a station in the area; null when the area is not mapped or the number is
// outside 1..20.
uint8_t* stationSlot(uint8_t* area, int stationNumber);

// A status into a slot: the label (at most 15 characters), the target text and the
// percent (32-bit little-endian). Nothing for a null slot.
void writeSlotStatus(uint8_t* slot, const std::string& label, const std::string& target, int percent);

// The result word ("SUCCESS", "ERROR") into the label field, an error line into the
// message field. Nothing for a null slot.
void writeSlotResult(uint8_t* slot, const std::string& word);
void writeSlotMessage(uint8_t* slot, const std::string& line);

}  // namespace tarnwick
