// The status line as the window shows it: "NN/NN [ID:name] text" for a component of the
// package, "[ID:xx] text" for another target, the text alone for target 0.
#pragma once
#include <cstdint>
#include <string>

#include "package/update_package.h"

namespace tarnwick {

std::string composeStatusLine(const UpdatePackage& package, uint8_t currentNumber, uint8_t selectedCount,
                              uint8_t targetId, const std::string& text);

// The line beside it: "component 2 of 5   elapsed 1:05", or the elapsed time alone while
// no component is being handled.
std::string composePositionLine(uint8_t currentNumber, uint8_t selectedCount, uint64_t elapsedMs);

}  // namespace tarnwick
