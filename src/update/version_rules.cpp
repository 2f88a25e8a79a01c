#include "update/version_rules.h"

#include "package/line_reader.h"

namespace tarnwick {

namespace {

bool isUpgradeVersion(const std::string& text) { return !text.empty() && text[0] == 'A'; }

// What a product that reports no such field pretends for components it cannot version.
bool isBlankProductVersion(const std::string& text) {
    return text.compare(0, 4, "FF.F") == 0 || text == "FFFFFFFF";
}

}  // namespace

bool textLess(const std::string& a, const std::string& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

std::string productVersionOf(const TargetInfo& info, uint32_t id) {
    const uint8_t slot = id < info.slotOfId.size() ? info.slotOfId[id] : 0;
    return slot < info.slotVersions.size() ? info.slotVersions[slot] : std::string();
}

std::string packageVersionOf(const ComponentEntry& component) {
    return component.versionLabel.empty() ? component.versionText : component.versionLabel;
}

bool sameVersion(const UpdatePackage& package, const TargetInfo& info, int position) {
    if (position < 0 || position >= kMaxComponents) return false;
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    return packageVersionOf(c) == trimRight(productVersionOf(info, c.id));
}

FirmwareTypeChange firmwareTypeChange(const UpdatePackage& package, const TargetInfo& info) {
    using enum FirmwareTypeChange;
    const uint8_t position = package.positionOf(1);
    if (position == kNoPosition) return None;
    const std::string& file = package.components[position].versionText;
    const std::string product = productVersionOf(info, 1);
    if (file.empty() || product.empty()) return None;
    if (isUpgradeVersion(file)) return isUpgradeVersion(product) ? None : ProductNormalFileUpgrade;
    return isUpgradeVersion(product) ? ProductUpgradeFileNormal : None;
}

bool olderThanProduct(const ComponentEntry& c, const TargetInfo& info) {
    if (c.versionText.empty() && c.versionLabel.empty()) return false;
    const std::string product = trimRight(productVersionOf(info, c.id));
    if (!c.versionLabel.empty()) return textLess(c.versionLabel, product);
    if (isBlankProductVersion(product)) return false;
    return textLess(c.versionText, product);
}

bool noDowngrade(const UpdatePackage& package, const TargetInfo& info) {
    bool result = true;
    for (const ComponentEntry& c : package.components) {
        if (olderThanProduct(c, info)) result = false;
    }
    return result;
}

}  // namespace tarnwick
