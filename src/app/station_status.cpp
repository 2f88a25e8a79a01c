#include "app/station_status.h"

#include <cstdio>
#include <cstring>

namespace tarnwick {

namespace {

struct LabelRule {
    const char* beginning;
    const char* label;
};

constexpr LabelRule kLabelRules[] = {
    {"Loadi", "Loading file..."}, {"Reboot(Up", "Reboot update"}, {"Reboot(Bo", "Reboot Bld Mode"},
    {"Reboot(Ap", "Reboot Apl Mode"}, {"Check", "Check comm."},  {"Backu", "Backup para."},
    {"Writi", "Writing para."},   {"Updat", "Updating..."},      {"Pass ", "Pass update"},
    {"Verif", "Verifying..."},    {"Switc", "Switching..."},
};

bool beginsWith(const std::string& text, const char* beginning) {
    return text.compare(0, std::strlen(beginning), beginning) == 0;
}

}  // namespace

std::string stationShortLabel(const std::string& text) {
    for (const LabelRule& rule : kLabelRules) {
        if (beginsWith(text, rule.beginning)) return rule.label;
    }
    return text;
}

std::string stationTargetText(const UpdatePackage& package, uint8_t targetId, const std::string& text,
                              uint8_t currentNumber, uint8_t selectedCount) {
    if (targetId == 0) return "";
    const bool switching = beginsWith(text, "Switc");
    char buf[64];
    const ComponentEntry* c = package.componentById(targetId);
    if (c == nullptr) {
        std::snprintf(buf, sizeof buf, switching ? "ID:%02X->" : "ID:%02X", targetId);
        return buf;
    }
    if (switching) return c->name + "->";
    std::snprintf(buf, sizeof buf, "%02d/%02d ", currentNumber, selectedCount);
    return buf + c->name;
}

void copyToField(uint8_t* field, size_t size, const std::string& text) {
    if (field == nullptr || size == 0) return;
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(field, text.data(), n);
    field[n] = 0;
}

uint8_t* stationSlot(uint8_t* area, int stationNumber) {
    if (area == nullptr || stationNumber < 1 || stationNumber > static_cast<int>(kSlotCount)) return nullptr;
    return area + static_cast<size_t>(stationNumber - 1) * kSlotSize;
}

void writeSlotStatus(uint8_t* slot, const std::string& label, const std::string& target, int percent) {
    if (slot == nullptr) return;
    copyToField(slot + kSlotLabelOffset, kSlotLabelSize, label.substr(0, kSlotLabelSize - 1));
    copyToField(slot + kSlotTargetOffset, kSlotTargetSize, target);
    const uint32_t value = static_cast<uint32_t>(percent);
    const uint8_t le[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                           static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    std::memcpy(slot + kSlotPercentOffset, le, sizeof le);
}

void writeSlotResult(uint8_t* slot, const std::string& word) {
    if (slot != nullptr) copyToField(slot + kSlotLabelOffset, kSlotLabelSize, word);
}

void writeSlotMessage(uint8_t* slot, const std::string& line) {
    if (slot != nullptr) copyToField(slot + kSlotMessageOffset, kSlotMessageSize, line);
}

}  // namespace tarnwick
