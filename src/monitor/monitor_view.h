// What `tarnwick monitor` shows of the shared status area: a table for the terminal and a
// JSON document for scripts. Both take a snapshot of the whole area (kSharedAreaSize bytes).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "station/station_slot.h"

namespace tarnwick {

// What the monitor knows of a slot beside its bytes.
struct SlotWatch {
    bool running = false;         // a station process holds that station now
    int64_t changedSeconds = -1;  // since the monitor saw the slot change; -1: unknown
};
using SlotWatches = std::array<SlotWatch, kSlotCount>;

// What a station column says: "running", "idle", or "stopped" for a slot that shows a
// status (neither result word) with no station process behind it: its station ended
// without a result, or is gone.
const char* stationState(const SlotContent& slot, bool running);

// One row a station: number, label or result word, target text, a progress bar with the
// percent ("SUCCESS" drawn at 100 %), the station's state and how long ago the slot
// changed, and below it the error line when there is one; a slot of zeros reads "idle".
// Control characters from the area are shown as "?".
std::string monitorTable(const uint8_t* area, const SlotWatches& watches);

// An array of twenty objects {"number", "label", "target", "percent", "error", "idle",
// "running", "state", "changed"}; "percent" is the slot's own, "changed" null when unknown.
std::string monitorJson(const uint8_t* area, const SlotWatches& watches);

// A JSON string literal of raw bytes: quotes, backslashes and control characters escaped;
// bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view bytes);

}  // namespace tarnwick
