// The version and firmware-type rules on text, against what the product reported.
#include <gtest/gtest.h>

#include "update/version_rules.h"

namespace tarnwick {
namespace {

// A product answer: the version of each slot (slot 0 MAIN id 1, slot 2 DSP id 0x11, ...).
TargetInfo reported(std::initializer_list<std::pair<int, std::string>> slots) {
    TargetInfo info;
    for (const auto& [slot, version] : slots) {
        info.slotIds[static_cast<size_t>(slot)] = kSlotIds[static_cast<size_t>(slot)];
        info.slotVersions[static_cast<size_t>(slot)] = version;
        info.slotOfId[kSlotIds[static_cast<size_t>(slot)]] = static_cast<uint8_t>(slot);
    }
    return info;
}

void add(UpdatePackage& p, int position, uint8_t id, const std::string& text, const std::string& label = "") {
    ComponentEntry& c = p.components[static_cast<size_t>(position)];
    c.id = id;
    c.versionText = text;
    c.versionLabel = label;
    p.order[static_cast<size_t>(position)] = id;
    p.positionOfId[id] = static_cast<uint8_t>(position);
}

TEST(SameVersion, ComparesThePackageVersionWithTheTrimmedProductVersion) {
    UpdatePackage p;
    add(p, 0, 0x11, "0102");
    EXPECT_EQ(sameVersion(p, reported({{2, "0102   "}}), 0), 1);
    EXPECT_EQ(sameVersion(p, reported({{2, "0103"}}), 0), 0);
    // The label, when there is one, is the package's version.
    add(p, 1, 0x01, "0105", "1.05 (2026-11-20)");
    EXPECT_EQ(sameVersion(p, reported({{0, "0105"}}), 1), 0);
    EXPECT_EQ(sameVersion(p, reported({{0, "1.05 (2026-11-20)"}}), 1), 1);
    // An id no line reported reads the system microcomputer's version.
    add(p, 0, 0x21, "0110");
    EXPECT_EQ(sameVersion(p, reported({{0, "0110"}, {3, "0999"}}), 0), 1);
}

TEST(FirmwareType, UpgradeVersionsBeginWithAAndNothingToCompareIsNoChange) {
    using T = FirmwareTypeChange;
    UpdatePackage p;
    const std::tuple<const char*, const char*, T> cases[] = {{"A100", "0100", T::ProductNormalFileUpgrade},
        {"A100", "A200", T::None}, {"0100", "A100", T::ProductUpgradeFileNormal}, {"0100", "0200", T::None}};
    for (const auto& [file, product, change] : cases) {
        add(p, 0, 0x01, file);
        EXPECT_EQ(firmwareTypeChange(p, reported({{0, product}})), change) << file << " " << product;
    }
    UpdatePackage withoutMain;
    add(withoutMain, 0, 0x11, "A100");
    EXPECT_EQ(firmwareTypeChange(withoutMain, reported({{0, "0100"}, {2, "0100"}})), FirmwareTypeChange::None);
    add(p, 0, 0x01, "A100");
    EXPECT_EQ(firmwareTypeChange(p, reported({})), FirmwareTypeChange::None);  // the product reported no version
    // The label does not count: only the version text.
    add(p, 0, 0x01, "0100", "A-label");
    EXPECT_EQ(firmwareTypeChange(p, reported({{0, "0100"}})), FirmwareTypeChange::None);
}

TEST(Downgrade, TextComparisonMakes110OlderThan19AndEveryComponentCounts) {
    UpdatePackage p;
    add(p, 0, 0x01, "1.10");
    // Bytes compare as unsigned values; a prefix is the smaller text.
    for (const auto& [product, ok] : {std::pair{"1.9", 0}, {"1.09", 1}, {"1.10", 1}, {"1.1\xE0", 0}, {"1.10a", 0}}) {
        EXPECT_EQ(noDowngrade(p, reported({{0, product}})), ok) << product;
    }
    add(p, 0, 0x01, "0200");
    add(p, 5, 0x11, "0100");  // older than the product; 1..4 stay empty, selection plays no part
    EXPECT_EQ(noDowngrade(p, reported({{0, "0200"}, {2, "0101"}})), 0);
    EXPECT_EQ(noDowngrade(p, reported({{0, "0200"}, {2, "0100"}})), 1);
}

TEST(Downgrade, BlankProductVersionsAreExemptOnlyForVersionTexts) {
    UpdatePackage p;
    add(p, 0, 0x11, "0100");
    for (const auto& [product, ok] : {std::pair{"FFFFFFFF", 1}, {"FF.FF", 1}, {"FFFFFFFE", 0}}) {
        EXPECT_EQ(noDowngrade(p, reported({{2, product}})), ok) << product;
    }
    add(p, 0, 0x11, "0100", "1.00");
    EXPECT_EQ(noDowngrade(p, reported({{2, "FFFFFFFF"}})), 0);  // '1' < 'F'
}

}  // namespace
}  // namespace tarnwick
