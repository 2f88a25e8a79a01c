// The status line, the status window's life and the timed waits.
#include <cstring>

#include "app/station_status.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using StatusTest = WindowTest;

TEST_F(StatusTest, LineNamesTheTargetByPackagePosition) {
    start();
    addComponent(3, 0x11, "DSP", 1);
    window->job.currentNumber = 2;
    window->job.selectedCount = 5;
    window->showStatus(0x11, "Verifying...", 1, 40);
    window->showStatus(0x21, "Switching(ID:01 -> ID:21)...", 0, 0);
    window->showStatus(0, "Loading of update file...", 0, 0);
    ASSERT_EQ(dialog.statusLines.size(), 3u);
    EXPECT_EQ(dialog.statusLines[0].text, "02/05 [11:DSP] Verifying...");
    EXPECT_EQ(dialog.statusLines[0].showProgress, 1);
    EXPECT_EQ(dialog.statusLines[0].percent, 40);
    EXPECT_EQ(dialog.statusLines[1].text, "[ID:21] Switching(ID:01 -> ID:21)...");
    EXPECT_EQ(dialog.statusLines[1].showProgress, 0);
    EXPECT_EQ(dialog.statusLines[2].text, "Loading of update file...");
    EXPECT_EQ(dialog.statusWindowsCreated, 1);
}

TEST_F(StatusTest, QuietStatusShowsNothing) {
    start();
    window->statusQuiet = true;
    window->showStatus(0, "Working", 0, 0);
    EXPECT_TRUE(dialog.statusLines.empty());
    EXPECT_EQ(dialog.statusWindowsCreated, 0);
}

TEST_F(StatusTest, WindowDestroyedByKeyIsRecreatedByTheNextReport) {
    start();
    window->showStatus(0, "one", 0, 0);
    dialog.destroyStatusByKey();
    EXPECT_EQ(window->statusWindow, nullptr);
    window->closeStatusWindow();  // must not touch the destroyed window
    window->showStatus(0, "two", 0, 0);
    EXPECT_EQ(dialog.statusWindowsCreated, 2);
    EXPECT_EQ(dialog.statusLines.back().text, "two");
}

TEST_F(StatusTest, BoxesCloseTheStatusWindowFirst) {
    start();
    window->showStatus(0, "Working", 0, 0);
    window->showError("Update Failed!");
    EXPECT_EQ(dialog.events.back(), "box");  // not "box (status open)"
    EXPECT_EQ(window->statusWindow, nullptr);
}

TEST_F(StatusTest, WaitSecondsSleepsWholeSecondsAndPumps) {
    start();
    clock.settles.clear();
    dialog.events.clear();
    window->waitSeconds(0);
    EXPECT_TRUE(clock.settles.empty());
    window->waitSeconds(60);
    EXPECT_EQ(clock.settles.size(), 60u);
    EXPECT_EQ(clock.settles.front(), 1000u);
    EXPECT_EQ(std::count(dialog.events.begin(), dialog.events.end(), "pump"), 60);
    clock.settles.clear();
    window->waitSeconds(0x102);  // taken as 8 bits: 2
    EXPECT_EQ(clock.settles.size(), 2u);
}

TEST(StationStatus, ShortLabelsAndTargetTexts) {
    EXPECT_EQ(stationShortLabel("Loading of update file..."), "Loading file...");
    EXPECT_EQ(stationShortLabel("Reboot(Update mode)..."), "Reboot update");
    EXPECT_EQ(stationShortLabel("Reboot(Boot loader)"), "Reboot Bld Mode");
    EXPECT_EQ(stationShortLabel("Reboot(Application)"), "Reboot Apl Mode");
    EXPECT_EQ(stationShortLabel("Checking..."), "Check comm.");
    EXPECT_EQ(stationShortLabel("Updating start..."), "Updating...");
    EXPECT_EQ(stationShortLabel("Pass update"), "Pass update");
    EXPECT_EQ(stationShortLabel("Verifying..."), "Verifying...");
    EXPECT_EQ(stationShortLabel("Switching(ID:01 -> ID:11)..."), "Switching...");
    EXPECT_EQ(stationShortLabel("Erasing"), "Erasing");

    UpdatePackage pkg;
    pkg.order[0] = 0x11;
    pkg.positionOfId[0x11] = 0;
    pkg.components[0].id = 0x11;
    pkg.components[0].name = "DSP";
    EXPECT_EQ(stationTargetText(pkg, 0x11, "Switching...", 1, 3), "DSP->");
    EXPECT_EQ(stationTargetText(pkg, 0x11, "Verifying...", 1, 3), "01/03 DSP");
    EXPECT_EQ(stationTargetText(pkg, 0x2A, "Switching...", 1, 3), "ID:2A->");
    EXPECT_EQ(stationTargetText(pkg, 0x2A, "Verifying...", 1, 3), "ID:2A");
    EXPECT_EQ(stationTargetText(pkg, 0, "Verifying...", 1, 3), "");
}

TEST(StationStatus, CopyToFieldIsBoundedAndTerminated) {
    uint8_t field[8];
    std::memset(field, 'x', sizeof field);
    copyToField(field, sizeof field, "a much longer text");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field)), "a much ");
    copyToField(field, sizeof field, "ok");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(field)), "ok");
}

}  // namespace
}  // namespace tarnwick::test
