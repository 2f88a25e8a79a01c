// The timed waits and the station's slot (the status lines are asserted on the Qt window
// and end to end).
#include <cstring>

#include "app/station_status.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using StatusTest = WindowTest;

TEST_F(StatusTest, WaitSecondsSleepsWholeSecondsAndPumps) {
    start();
    clock.settles.clear();
    dialog.pumps = 0;
    window->waitSeconds(60);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>(60, 1000));
    EXPECT_EQ(dialog.pumps, 60);
    clock.settles.clear();
    window->waitSeconds(0x102);  // taken as 8 bits: 2
    EXPECT_EQ(clock.settles.size(), 2u);
}

TEST_F(StatusTest, StationStatusGoesToItsOwnSlotOnly) {
    startStation("/03");
    std::vector<uint8_t> area(kSharedAreaSize, 0xCC);
    window->slotBase = area.data();
    addComponent(0, 0x11, "DSP", 1);
    window->job.currentNumber = 1;
    window->job.selectedCount = 3;
    window->showStatus(0x11, "Verifying...", 1, 0x01020304);
    const uint8_t* slot = area.data() + 2 * kSlotSize;
    EXPECT_STREQ(reinterpret_cast<const char*>(slot), "Verifying...");
    EXPECT_STREQ(reinterpret_cast<const char*>(slot + kSlotTargetOffset), "01/03 DSP");
    EXPECT_EQ(std::vector<uint8_t>(slot + kSlotPercentOffset, slot + kSlotSize), (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(area[2 * kSlotSize - 1], 0xCC);
    EXPECT_EQ(area[3 * kSlotSize], 0xCC);
    EXPECT_TRUE(dialog.statusLines.empty());
    EXPECT_EQ(stationSlot(area.data(), 21), nullptr);
}

TEST(StationStatus, ShortLabelsAndTargetTexts) {
    const std::pair<const char*, const char*> labels[] = {
        {"Loading of update file...", "Loading file..."}, {"Reboot(Update mode)...", "Reboot update"},
        {"Reboot(Boot loader)", "Reboot Bld Mode"},       {"Reboot(Application)", "Reboot Apl Mode"},
        {"Checking...", "Check comm."},                   {"Updating start...", "Updating..."},
        {"Pass update", "Pass update"},                   {"Switching(ID:01 -> ID:11)...", "Switching..."},
        {"Erasing", "Erasing"}};
    for (const auto& [text, label] : labels) EXPECT_EQ(stationShortLabel(text), label);
    UpdatePackage pkg;
    pkg.positionOfId[0x11] = 0;
    pkg.components[0].name = "DSP";
    EXPECT_EQ(stationTargetText(pkg, 0x11, "Switching...", 1, 3), "DSP->");
    EXPECT_EQ(stationTargetText(pkg, 0x2A, "Switching...", 1, 3), "ID:2A->");
    EXPECT_EQ(stationTargetText(pkg, 0x2A, "Verifying...", 1, 3), "ID:2A");
    EXPECT_EQ(stationTargetText(pkg, 0, "Verifying...", 1, 3), "");
    uint8_t field[8];
    copyToField(field, sizeof field, "a much longer text");
    EXPECT_STREQ(reinterpret_cast<char*>(field), "a much ");
}

}  // namespace
}  // namespace tarnwick::test
