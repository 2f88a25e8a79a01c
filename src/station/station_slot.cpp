#include "station/station_slot.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {

std::string fieldText(const uint8_t* field, size_t size) {
    const uint8_t* end = std::find(field, field + size, uint8_t{0});
    return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(end - field));
}

}  // namespace

void copyToField(uint8_t* field, size_t size, const std::string& text) {
    if (field == nullptr || size == 0) return;
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

bool isStationNumber(int stationNumber) {
    return stationNumber >= 1 && stationNumber <= static_cast<int>(kSlotCount);
}

uint8_t* stationSlot(uint8_t* area, int stationNumber) {
    if (area == nullptr || !isStationNumber(stationNumber)) return nullptr;
    return area + static_cast<size_t>(stationNumber - 1) * kSlotSize;
}

const uint8_t* stationSlot(const uint8_t* area, int stationNumber) {
    return stationSlot(const_cast<uint8_t*>(area), stationNumber);
}

const char* stationResultWord(int resultCode) { return resultCode == 0 ? "SUCCESS" : "ERROR"; }

void SlotWriter::writeStatus(const std::string& label, const std::string& target, int32_t percent) {
    if (slot_ == nullptr) return;
    std::memset(slot_, 0, kSlotSize);
    copyToField(slot_ + kSlotLabelOffset, kSlotLabelSize, label);
    copyToField(slot_ + kSlotTargetOffset, kSlotTargetSize, target);
    const uint32_t value = static_cast<uint32_t>(percent);
    for (size_t i = 0; i < 4; ++i) slot_[kSlotPercentOffset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void SlotWriter::writeResult(int resultCode) {
    if (slot_ != nullptr) copyToField(slot_ + kSlotLabelOffset, kSlotLabelSize, stationResultWord(resultCode));
}

void SlotWriter::writeMessage(const std::string& line) {
    if (slot_ != nullptr) copyToField(slot_ + kSlotMessageOffset, kSlotMessageSize, line);
}

SlotContent readSlot(const uint8_t* slot) {
    SlotContent content;
    if (slot == nullptr) return content;
    content.label = fieldText(slot + kSlotLabelOffset, kSlotLabelSize);
    content.message = fieldText(slot + kSlotMessageOffset, kSlotMessageSize);
    content.target = fieldText(slot + kSlotTargetOffset, kSlotTargetSize);
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(slot[kSlotPercentOffset + i]) << (8 * i);
    content.percent = static_cast<int32_t>(value);
    content.idle = std::all_of(slot, slot + kSlotSize, [](uint8_t b) { return b == 0; });
    return content;
}

}  // namespace tarnwick
