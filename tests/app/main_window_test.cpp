// Start-up, the button handlers and shutdown of the main window.
#include <filesystem>

#include "app/control_ids.h"
#include "support/scoped_area.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using MainWindowTest = WindowTest;

// The program refuses a malformed station argument before the window sees it.
TEST_F(MainWindowTest, AStationArgumentStartsFactoryMode) {
    ScopedArea area;  // a station run without its directory fails into a test's own area
    TempDir programDir;
    ScopedEnv program("TARNWICK_PROGRAM_DIR", programDir.path() + "/");
    std::filesystem::create_directory(programDir.file("20"));
    start({"/20"});
    EXPECT_TRUE(window->stationMode);
    EXPECT_EQ(window->stationNumber, 20);
    EXPECT_EQ(dialog.windowCaption, "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]  <Factory Mode>");
}

TEST_F(MainWindowTest, UpdateWithoutCheckedTargetReportsCodeFourAndCheckCommWithoutATypeNothing) {
    start();
    window->onCheckComm();
    EXPECT_TRUE(dialog.boxes.empty());
    window->onUpdate();
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(dialog.boxes[0].text, "Update target is not selected!");
    EXPECT_EQ(window->lastResultCode, 4);
    EXPECT_EQ(tone.played, (std::vector<std::pair<uint32_t, uint32_t>>{{442, 100}}));
}

TEST_F(MainWindowTest, QuitAndCloseEndTheDialogAfterTheirWait) {
    for (void (MainWindow::*handler)() : {&MainWindow::onQuit, &MainWindow::onClose}) {
        start();
        dialog.ended = false;
        window->showStatus(0, "Working", 0, 0);
        (window.get()->*handler)();
        EXPECT_TRUE(dialog.ended);
        EXPECT_FALSE(dialog.statusOpen);
        EXPECT_EQ(clock.settles.back(), 1500u);
    }
}

// The listing's columns are asserted through the versions command.
TEST_F(MainWindowTest, VersionListingWithoutAPackageAndWithAWebComponent) {
    start();
    EXPECT_EQ(window->versionListing(), "Update file is not selected !");
    addComponent(0, 0x21, "WEB", 4u << kKindMarkShift);
    window->package.components[0].versionText = "0300";
    EXPECT_EQ(window->versionListing(), "ID:TargetName   Version\r\n33:WEB(w)       0300                \r\n");
}

}  // namespace
}  // namespace tarnwick::test
