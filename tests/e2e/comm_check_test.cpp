// "Check Comm." over RS-232C against the simulated product.

#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

using CommCheckTest = SerialUpdateTest;

// (A product answering in either mode is checked through the Qt window and the command line.)
TEST_F(CommCheckTest, SilentProductIsNgWithoutTheLinksOwnBoxOrStatus) {
    product.silent = true;
    start();
    window->onCheckComm();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Communication check NG!"});
    EXPECT_EQ(tone.played.size(), 1u);  // the link's failure report was quiet
    ASSERT_EQ(dialog.statusLines.size(), 1u);
    EXPECT_EQ(dialog.statusLines[0].text, "Checking communication...");
    EXPECT_FALSE(window->messagesQuiet || window->statusQuiet);
}

TEST_F(CommCheckTest, WithoutAPackageTheListsBitRateIsUsedForTheConnect) {
    product.startInUpdateMode = true;
    start();
    window->clearAll();  // no package: baudIndex 0
    dialog.controls.commType = 0;
    dialog.setBaudSelection(5);  // an entry the list does not have: the open fails
    window->onCheckComm();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Communication check NG!"});
    EXPECT_EQ(seen("frame C"), 0);
    dialog.boxes.clear();
    dialog.setBaudSelection(2);
    window->onCheckComm();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Communication check OK."});
}

}  // namespace
}  // namespace tarnwick::test
