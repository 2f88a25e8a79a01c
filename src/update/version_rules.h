// The version and firmware-type rules: pure comparisons of the package's component
// versions with the versions the product reported to "VIALL?\r". All on text.
#pragma once
#include <cstdint>
#include <string>

#include "link/target_info.h"
#include "package/update_package.h"

namespace tarnwick {

// Byte-by-byte comparison as unsigned 8-bit values; a prefix is the smaller text.
bool textLess(const std::string& a, const std::string& b);

// The version the product reported for an id: the version of the id's slot (slot 0,
// the system microcomputer's, for an id no line reported). Untrimmed.
std::string productVersionOf(const TargetInfo& info, uint32_t id);

// The package's version of a component: its label when it has one, else its version text.
std::string packageVersionOf(const ComponentEntry& component);

// True when the component at position carries the product's (trimmed) version.
[[nodiscard]] bool sameVersion(const UpdatePackage& package, const TargetInfo& info, int position);

// The firmware type of the system microcomputer (id 1), product against file.
enum class FirmwareTypeChange {
    None = 0,                      // the same type, or nothing to compare
    ProductUpgradeFileNormal = 1,
    ProductNormalFileUpgrade = 2,
};
[[nodiscard]] FirmwareTypeChange firmwareTypeChange(const UpdatePackage& package, const TargetInfo& info);

// True when the component's version (its label when it has one) is older than the product's;
// a product that cannot version the component (FF.F..., FFFFFFFF) is older than none.
[[nodiscard]] bool olderThanProduct(const ComponentEntry& component, const TargetInfo& info);

// False when any component of the package (selected or not) is older than the product's.
[[nodiscard]] bool noDowngrade(const UpdatePackage& package, const TargetInfo& info);

}  // namespace tarnwick
