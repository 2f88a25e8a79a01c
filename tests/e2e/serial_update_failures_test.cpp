// Failures of the update over RS-232C: the switch path, the checks after a write and a
// silent product, each with the boxes the operator sees and what reached the product.
#include <gtest/gtest.h>

#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

using Strings = std::vector<std::string>;

// --- switch paths ---

TEST_F(SerialUpdateTest, TwoHopSwitchPathReopensAndConnectsAtEveryHop) {
    pkg.components = {component(0x01, "MAIN", "0200", "01", 1, 0x0400), component(0x21, "PLD", "0200", "011121", 1, 0x0200)};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    const Strings all = commands();
    auto first = std::find(all.begin(), all.end(), "frame X 01>11");
    ASSERT_NE(first, all.end());
    EXPECT_EQ(Strings(first, first + 6),
              (Strings{"frame X 01>11", "frame C 11", "frame X 11>21", "frame C 21", "frame L 21", "frame I 21"}));
    EXPECT_TRUE(written(1));
}

TEST_F(SerialUpdateTest, ARefusedHopFailsTheComponentWithTheSwitchReport) {
    pkg.components = {component(0x01, "MAIN", "0200", "01", 1, 0x0400), component(0x21, "PLD", "0200", "011121", 1, 0x0200),
                      component(0x31, "OSD", "0200", "0131", 1, 0x0100)};
    product.absentTargets = {0x21};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), (Strings{"Target : ID:11\nProcess : Switch of target\nError : Communication retry error!\n",
                                            "Update Failed!"}));
    int refused = 0;
    for (const std::string& e : commands()) refused += e == "frame X 11>21";
    EXPECT_EQ(refused, 4);
    EXPECT_FALSE(sawCommand("frame L 21"));
    EXPECT_FALSE(sawCommand("frame X 01>31"));  // the remaining components are not processed
    EXPECT_FALSE(sawCommand("text RBNORM"));    // and the product stays in its update mode
    EXPECT_EQ(window->lastResultCode, 1);
}

TEST_F(SerialUpdateTest, APathNotEndingWithTheComponentFailsBeforeAnythingIsSent) {
    pkg.components = {component(0x11, "DSP", "0200", "0121", 1, 0x0300)};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update Failed!"});
    EXPECT_EQ(commands().back(), "frame I 01");  // the model query, then nothing
}

TEST_F(SerialUpdateTest, ComponentsOfOneTargetAreWrittenWithoutASwitchBetweenThem) {
    pkg.components = {component(0x11, "DSP", "0200", "0111", 1, 0x0300), component(0x11, "DSP", "0200", "0111", 1, 0x0100)};
    pkg.components[1].startAddress = 0x8000;
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    int switches = 0;
    for (const std::string& e : commands()) switches += e == "frame X 01>11";
    EXPECT_EQ(switches, 1);
    EXPECT_TRUE(written(0));
    EXPECT_TRUE(written(1));
}

// --- checks after the write ---

TEST_F(SerialUpdateTest, ReadBackMismatchShowsTheVerificationError) {
    product.corruptReadBack = {0x01};
    start();
    dialog.controls.checkMode = 0;
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : MAIN\nProcess : Verify check of update\nError : Verification error!\n", "Update Failed!"}));
    EXPECT_FALSE(sawCommand("frame X 01>11"));
    EXPECT_TRUE(std::filesystem::exists(workFile("verifydata00.bin")));
}

TEST_F(SerialUpdateTest, ChecksumMismatchShowsTheChecksumError) {
    product.badComponentChecksum = {0x11};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : DSP\nProcess : Check of update\nError : Checksum error!\n", "Update Failed!"}));
    EXPECT_TRUE(written(0));
}

TEST_F(SerialUpdateTest, StatusWordOtherThanOkFailsTheCheck) {
    pkg.components = {component(0x01, "MAIN", "0200", "01", 6, 0x0400)};
    product.infoKinds[0x01] = sim::InfoKind::StatusWord;
    product.statusFailed = {0x01};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : MAIN\nProcess : Check of update\nError : Checksum error!\n", "Update Failed!"}));
}

TEST_F(SerialUpdateTest, WriteMethodFiveIsWrittenAndCountedAsFailedWithoutACheck) {
    pkg.components = {component(0x01, "MAIN", "0200", "01", 5, 0x0400)};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update Failed!"});
    EXPECT_TRUE(written(0));
    EXPECT_EQ(commands().back(), "frame L 01");
}

TEST_F(SerialUpdateTest, AnEraseErrorShowsTheProductsOwnText) {
    product.faults = {sim::FrameFault{sim::FaultKind::Error, 'L', 0x01, 0, 1, 0xE8}};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : MAIN\nProcess : Update of target\nError : (E8)Flash ROM erase error\n", "Update Failed!"}));
}

// --- a product that does not answer ---

TEST_F(SerialUpdateTest, SilentProductGivesTheConnectReportThenCommunicationError) {
    product.silent = true;
    product.startInUpdateMode = true;  // so that it takes the connect frames as frames
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : MAIN\nProcess : Connection with target\nError : Communication timeout error!\n",
                       "Communication error!"}));
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?", "text VIALL?", "text VIALL?", "frame C 01",
                                   "frame C 01", "frame C 01", "frame C 01"}));
    EXPECT_EQ(window->lastResultCode, 6);
    EXPECT_EQ(window->serialLink, nullptr);
}

TEST_F(SerialUpdateTest, UnanswerableUpdateModeRebootFailsOnlyAtTheConnect) {
    product.faults = {sim::FrameFault{sim::FaultKind::Silence, 'C', 0xFF, 0, 4}};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              (Strings{"Target : MAIN\nProcess : Connection with target\nError : Communication timeout error!\n",
                       "Communication error!"}));
    EXPECT_TRUE(sawCommand("text RBUPDATE"));
}

}  // namespace
}  // namespace tarnwick::test
