// What `tarnwick monitor` shows of the shared status area: a table for the terminal and a
// JSON document for scripts. Both take a snapshot of the whole area (kSharedAreaSize bytes).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick {

// One row a station: number, label or result word, target text, a progress bar with the
// percent, and below it the error line when there is one; a slot of zeros reads "idle".
// Control characters from the area are shown as "?".
std::string monitorTable(const uint8_t* area);

// An array of twenty objects {"number", "label", "target", "percent", "error", "idle"}.
std::string monitorJson(const uint8_t* area);

// A JSON string literal of raw bytes: quotes, backslashes and control characters escaped;
// bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view bytes);

}  // namespace tarnwick
