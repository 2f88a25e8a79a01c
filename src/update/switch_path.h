// The hops that switch the product's active target along a component's switch path: a
// text of two-character hexadecimal target ids, ending with the component's own id.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

struct SwitchHop {
    uint8_t from;
    uint8_t to;
};

// The value of the pair at offset, read as hexadecimal (a one-character tail counts as one
// digit; a pair that is not hexadecimal reads as far as it is); 0 past the end.
uint8_t switchPathPair(const std::string& path, size_t offset);

// The hops from fromId to toId. False when the path does not end with toId (an empty
// path included). Without fromId in the path, the hops start again from id 1. The hops
// may be none, which a switch counts as failed.
[[nodiscard]] bool planSwitchHops(const std::string& path, uint8_t fromId, uint8_t toId, std::vector<SwitchHop>& hops);

}  // namespace tarnwick
