// Start-up, the button handlers and shutdown of the main window.
#include "window/control_ids.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using MainWindowTest = WindowTest;

// The program refuses a malformed station argument before the window sees it; without a
// station host the window only shows the factory caption.
TEST_F(MainWindowTest, AStationArgumentStartsFactoryMode) {
    start({"/20"});
    EXPECT_EQ(dialog.windowCaption, "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]  <Factory Mode>");
}

TEST_F(MainWindowTest, UpdateWithoutCheckedTargetReportsCodeFourAndCheckCommWithoutATypeNothing) {
    start();
    window->onCheckComm();
    EXPECT_TRUE(dialog.boxes.empty());
    window->onUpdate();
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(std::tie(dialog.boxes[0].kind, dialog.boxes[0].text), std::make_tuple(BoxKind::Error, "Update target is not selected!"));
    EXPECT_EQ(window->lastResultCode, 4);
}

TEST_F(MainWindowTest, QuitAndCloseEndTheDialogAndCloseTheStatusWindow) {
    for (void (MainWindow::*handler)() : {&MainWindow::onQuit, &MainWindow::onClose}) {
        start();
        dialog.ended = false;
        window->showStatus(0, "Working", 0, 0);
        (window.get()->*handler)();
        EXPECT_TRUE(dialog.ended && !dialog.statusOpen);
    }
}

}  // namespace
}  // namespace tarnwick::test
