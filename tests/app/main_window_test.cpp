// Start-up, the button handlers and shutdown of the main window.
#include "app/control_ids.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StationArgumentNeedsASlashAndTwoCharactersOfNonZeroValue) {
    struct Case {
        const char* arg;
        bool station;
        int number;
    } cases[] = {
        {"/05", true, 5}, {"/20", true, 20}, {"/5", false, 0},   {"/005", false, 0},
        {"/00", false, 0}, {"/A5", false, 0}, {"05", false, 0}, {"/5A", true, 5},
    };
    for (const Case& c : cases) {
        start({c.arg});
        EXPECT_EQ(window->stationMode, c.station) << c.arg;
        EXPECT_EQ(window->stationNumber, c.number) << c.arg;
    }
}

TEST_F(MainWindowTest, CaptionMarksFactoryModeWithTwoSpaces) {
    start();
    EXPECT_EQ(dialog.windowCaption, "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]");
    start({"/05"});
    EXPECT_EQ(dialog.windowCaption, "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]  <Factory Mode>");
}

TEST_F(MainWindowTest, UpdateWithoutCheckedTargetReportsCodeFour) {
    start();
    window->onUpdate();
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(dialog.boxes[0].text, "Update target is not selected!");
    EXPECT_EQ(dialog.boxes[0].caption, "Ostrel Firmware Writer");
    EXPECT_EQ(window->job.selectedCount, 0);
    ASSERT_EQ(tone.played.size(), 1u);
    EXPECT_EQ(tone.played[0], (std::pair<uint32_t, uint32_t>{442, 100}));
}

TEST_F(MainWindowTest, CancelledLoadKeepsThePackageAndStillEnablesControls) {
    start();
    addComponent(0, 0x01, "MAIN", 1);
    window->package.modelName = "QT818LX";
    window->refreshTargetList();
    dialog.cancelOpenFile = true;
    window->onLoad();
    ASSERT_EQ(dialog.openFileRequests.size(), 1u);
    EXPECT_EQ(dialog.openFileRequests[0].title, "Select the firmware file");
    EXPECT_EQ(dialog.openFileRequests[0].filterText, "Update file(*.bin)");
    EXPECT_EQ(dialog.openFileRequests[0].pattern, "*.bin");
    EXPECT_EQ(window->package.order[0], 0x01);
    EXPECT_EQ(dialog.caption(ctl::targetBox(0)), "01:MAIN");
    EXPECT_TRUE(dialog.isEnabled(ctl::CheckComm));
    EXPECT_TRUE(dialog.isEnabled(ctl::Update));
    EXPECT_TRUE(dialog.isEnabled(ctl::Quit));
    EXPECT_EQ(dialog.events.back(), "focus " + std::to_string(ctl::Load));
}

TEST_F(MainWindowTest, CheckCommDoesNothingWithoutACommunicationType) {
    start();
    window->onCheckComm();
    EXPECT_TRUE(dialog.boxes.empty());
}

TEST_F(MainWindowTest, QuitAndCloseEndTheDialogAfterTheirWait) {
    start();
    window->showStatus(0, "Working", 0, 0);
    window->onQuit();
    EXPECT_TRUE(dialog.ended);
    EXPECT_FALSE(dialog.statusOpen);
    ASSERT_FALSE(clock.settles.empty());
    EXPECT_EQ(clock.settles.back(), 1500u);

    start();
    dialog.ended = false;
    window->onClose();
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(clock.settles.back(), 1500u);
}

TEST_F(MainWindowTest, VersionListingShowsIdsInDecimalAndLabelsBeforeVersions) {
    start();
    EXPECT_EQ(window->versionListing(), "Update file is not selected !");
    addComponent(0, 0x11, "DSP", 0);
    addComponent(1, 0x21, "WEB", 4u << 16);
    window->package.components[0].versionText = "0102";
    window->package.components[1].versionText = "0300";
    window->package.components[1].versionLabel = "3.00 build 7";
    EXPECT_EQ(window->versionListing(),
              "ID:TargetName   Version\r\n"
              "17:DSP          0102                \r\n"
              "33:WEB(w)       3.00 build 7        \r\n");
}

}  // namespace
}  // namespace tarnwick::test
