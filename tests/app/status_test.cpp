// The timed waits and the station's short texts (the status lines are asserted on the Qt
// window and end to end, the slot a station fills in its run).
#include <cstring>

#include "app/station_status.h"
#include "support/window_fixture.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using StatusTest = WindowTest;

TEST_F(StatusTest, WaitSecondsSleepsWholeSecondsAndPumps) {
    start();
    clock.settles.clear();
    dialog.pumps = 0;
    window->waitSeconds(60s);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>(60, 1000));
    EXPECT_EQ(dialog.pumps, 60);
    clock.settles.clear();
    window->waitSeconds(0x102s);  // taken as 8 bits: 2
    EXPECT_EQ(clock.settles.size(), 2u);
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
