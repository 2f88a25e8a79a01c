// The shared status area of the production line: twenty station slots of 564 bytes. A
// station writes only its own slot; a monitoring process reads them all.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarnwick {

// Slot layout.
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

// The texts shown when the area cannot be created or mapped, and their box caption
// (the three half-width katakana for "error").
inline constexpr const char* kMsgAreaCreateFailed = "(CreateFileMapping)";
inline constexpr const char* kMsgAreaMapFailed = "(MapViewOfFile)";
inline constexpr const char* kAreaFailureCaption = "\xEF\xBD\xB4\xEF\xBE\x97\xEF\xBD\xB0";

// Copies text into a field of `size` bytes, always NUL-terminated, cut to fit.
void copyToField(uint8_t* field, size_t size, const std::string& text);

// True for the station numbers that have a slot, 1..20.
bool isStationNumber(int stationNumber);

// The start of station n's slot, or null for a null area or a number without a slot.
uint8_t* stationSlot(uint8_t* area, int stationNumber);
const uint8_t* stationSlot(const uint8_t* area, int stationNumber);

// "SUCCESS" for result code 0, "ERROR" for every other code.
const char* stationResultWord(int resultCode);

// Writes into one station's slot; every write is skipped when the slot is null.
class SlotWriter {
public:
    SlotWriter(uint8_t* area, int stationNumber) : slot_(stationSlot(area, stationNumber)) {}

    bool ready() const { return slot_ != nullptr; }
    // A status report: the whole slot is cleared (an earlier error line and result word go
    // with it), then the label (at most 15 characters), the target text and the percent.
    void writeStatus(const std::string& label, const std::string& target, int32_t percent);
    // The result word of the run into the label field; the rest of the slot stays.
    void writeResult(int resultCode);
    // The error line of a failure report.
    void writeMessage(const std::string& line);

private:
    uint8_t* slot_;
};

// One slot as a reader sees it. Each text ends at its first NUL or at the end of its field.
struct SlotContent {
    std::string label;
    std::string message;
    std::string target;
    int32_t percent = 0;
    bool idle = true;  // all 564 bytes zero
};

SlotContent readSlot(const uint8_t* slot);

}  // namespace tarnwick
