#include "package/update_package.h"

namespace tarnwick {

void UpdatePackage::clear() {
    title.clear();
    toolId.clear();
    genreCode.clear();
    auxCode.clear();
    modelCode.clear();
    modelName.clear();
    packageId.clear();
    packageChecksum = 0;
    componentCount = 0;
    statusEntryCount = 0;
    baudIndex = 0;
    commMask = 7;
    order.fill(0);
    positionOfId.fill(kNoPosition);
    for (ComponentEntry& c : components) {
        const uint16_t keep = c.versionNumber;
        c = ComponentEntry{};
        c.versionNumber = keep;
    }
    selectAllowed = false;
}

uint8_t UpdatePackage::positionOf(uint32_t id) const {
    const uint32_t low = id & 0xFFu;
    if (low > static_cast<uint32_t>(kMaxTargetId)) return kNoPosition;
    return positionOfId[low];
}

const ComponentEntry* UpdatePackage::componentById(uint32_t id) const {
    const uint8_t pos = positionOf(id);
    if (pos >= kMaxComponents) return nullptr;
    return &components[pos];
}

const char* kindSuffix(uint8_t kindMark, bool withWeb) {
    switch (kindMark) {
        case 1: return "(b)";
        case 2: return "(ic)";
        case 3: return "(i)";
        case 4: return withWeb ? "(w)" : "";
        default: return "";
    }
}

}  // namespace tarnwick
