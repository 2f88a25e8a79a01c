// The shortened status that a station publishes in its slot instead of a window (the slot
// layout and its writer are in station_slot.h).
#pragma once
#include <cstdint>
#include <string>

#include "station/station_slot.h"
#include "package/update_package.h"

namespace tarnwick {

// The short label of a status text: the first matching beginning of the label table.
std::string stationShortLabel(const std::string& text);

// The target text of a station status line.
std::string stationTargetText(const UpdatePackage& package, uint8_t targetId, const std::string& text,
                              uint8_t currentNumber, uint8_t selectedCount);

}  // namespace tarnwick
