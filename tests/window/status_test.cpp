// The timed waits and the station's short texts (the status lines are asserted on the Qt
// window and end to end, the slot a station fills in its run).
#include "station/station_status.h"
#include "window/console_dialog.h"
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
}

// The console's live line never wraps: the text gives way to the bar, then both are cut.
TEST(ConsoleStatusLine, FitsTheTerminalWidthWithoutWrapping) {
    const std::string reboot = "07/07 [42:NETIMG] Reboot(Application Mode)...";  // with a 30-column bar: 82
    const std::string bar = " [###...] 10%";
    const struct { std::string text, bar; size_t columns; std::string line; } cases[] = {
        {"Checking...", "", 80, "Checking..."},
        {reboot, bar, 40, reboot.substr(0, 39 - bar.size()) + bar},
        {reboot, bar, 10, (reboot + bar).substr(0, 9)},
        {reboot, "", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(fitTerminalLine(c.text, c.bar, c.columns), c.line) << c.columns;
}

// A label by the beginning of the status text, unknown texts as they are; the target by name.
TEST(StationStatus, ShortLabelsAndTargetTexts) {
    EXPECT_EQ(stationShortLabel("Reboot(Update mode)...") + "|" + stationShortLabel("Erasing"), "Reboot update|Erasing");
    UpdatePackage pkg;
    pkg.positionOfId[0x11] = 0;
    pkg.components[0].name = "DSP";
    EXPECT_EQ(stationTargetText(pkg, 0x11, "Switching...", 1, 3) + "|" + stationTargetText(pkg, 0x2A, "Switching...", 1, 3) + "|" +
                  stationTargetText(pkg, 0x2A, "Verifying...", 1, 3) + "|" + stationTargetText(pkg, 0, "Verifying...", 1, 3),
              "DSP->|ID:2A->|ID:2A|");
}

}  // namespace
}  // namespace tarnwick::test
