// The texts of the failure and result reports, and when they are shown.
#include "report/texts.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

using ReportsTest = WindowTest;

TEST_F(ReportsTest, ZeroErrorCodeReportsNothing) {
    start();
    window->reportLinkError({0x11, 0, 5, 0});
    window->reportCheckError({0x11, 0, 6, 0});
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_TRUE(tone.played.empty());
}

TEST_F(ReportsTest, LinkAndCheckReportsNameCodesDifferently) {
    start();
    addComponent(0, 0x11, "DSP", 1);
    window->reportLinkError({0x11, 1, 5, 30});
    window->reportCheckError({0x11, 1, 7, 0});
    window->reportCheckError({0x11, 2, 6, 0});
    window->reportLinkError({0x2A, 0xEA, 42, 0});
    window->reportLinkError({0x111, 0xE3, 2, 0});  // only the low 8 bits of the id count
    ASSERT_EQ(dialog.boxes.size(), 5u);
    EXPECT_EQ(dialog.boxes[0].text, "Target : DSP\nProcess : Update of target\nError : Unknown error!\n");
    EXPECT_EQ(dialog.boxes[1].text, "Target : DSP\nProcess : Check of update\nError : Checksum error!\n");
    EXPECT_EQ(dialog.boxes[2].text, "Target : DSP\nProcess : Verify check of update\nError : Verification error!\n");
    EXPECT_EQ(dialog.boxes[3].text, "Target : ID:2A\nProcess : Other processes\nError : Unknown error!\n");
    EXPECT_EQ(dialog.boxes[4].text,
              "Target : DSP\nProcess : Connection with target\nError : Communication timeout error!\n");
    for (const RecordedBox& b : dialog.boxes) EXPECT_EQ(b.kind, BoxKind::Error);
    EXPECT_EQ(tone.played.size(), 5u);
}

TEST_F(ReportsTest, ProductErrorWithoutALinkIsUnknown) {
    start();
    window->reportLinkError({0x01, 0xE1, 3, 0});
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].text,
              "Target : ID:01\nProcess : Setting of baud rate\nError : Unknown error! (Microcomputer side)\n");
}

TEST_F(ReportsTest, QuietMessagesShowNothingAndAnswerNo) {
    start();
    window->messagesQuiet = true;
    EXPECT_EQ(window->askYesNo("Continue?"), 0);
    window->showInfo("x");
    window->showError("y");
    window->reportLinkError({1, 0xE0, 1, 0});
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_TRUE(tone.played.empty());
}

TEST_F(ReportsTest, QuestionReturnsTheOperatorsAnswer) {
    start();
    dialog.answers = {kAnswerYes, kAnswerNo};
    EXPECT_EQ(window->askYesNo("Do you update?"), kAnswerYes);
    EXPECT_EQ(window->askYesNo("Do you update?"), kAnswerNo);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Question);
}

TEST_F(ReportsTest, ResultCodesPickTextAndBox) {
    start();
    window->job.productModelText = "0003";
    window->package.modelCode = "0002";
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, -1}) window->reportResult(code);
    const std::vector<std::string> expected = {
        "Update completed.",
        "Update Failed!",
        "File reading error!",
        "File writing error!",
        "Update target is not selected!",
        "Model id is different!\n Product     : M0003\n Update file : M0002\n\nCheck the update file.",
        "Communication error!",
        "Illegal processing!",
        "A version error!",
        "Package Version Update Error!",
        "No device to be renewed.",
        "Unknown error!",
        "Unknown error!",
        "Unknown error!",
    };
    EXPECT_EQ(dialog.boxTexts(), expected);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Info);
    EXPECT_EQ(dialog.boxes[10].kind, BoxKind::Info);
    EXPECT_EQ(dialog.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(dialog.boxes[12].kind, BoxKind::Error);
}

TEST_F(ReportsTest, StationModeStoresResultWordsWithoutBoxes) {
    start();
    std::vector<uint8_t> area(11280, 0xCC);
    window->stationMode = true;
    window->stationNumber = 3;
    window->slotBase = area.data();
    window->reportResult(10);
    const char* slot = reinterpret_cast<const char*>(area.data() + 2 * 564);
    EXPECT_STREQ(slot, "ERROR");
    window->reportResult(0);
    EXPECT_STREQ(slot, "SUCCESS");
    window->reportLinkError({0x2A, 0xE2, 1, 0});
    EXPECT_STREQ(slot + 16, "No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]");
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_TRUE(tone.played.empty());
    // Nothing outside the station's slot was touched.
    EXPECT_EQ(area[2 * 564 - 1], 0xCC);
    EXPECT_EQ(area[3 * 564], 0xCC);
}

TEST(ReportTexts, ProductCodesMapThroughTheTable) {
    EXPECT_STREQ(microcomputerText(0xE8), "(E8)Flash ROM erase error");
    EXPECT_STREQ(microcomputerText(0xE3), "(E3)Communication retry Error! (Microcomputer side)");
    EXPECT_STREQ(microcomputerText(0xEE), "(EE)Backup data writing error! (Microcomputer side)");
    EXPECT_STREQ(microcomputerText(0xDF), "Unknown error! (Microcomputer side)");
    EXPECT_STREQ(microcomputerText(0xEF), "Unknown error! (Microcomputer side)");
    EXPECT_STREQ(microcomputerText(0), "Unknown error! (Microcomputer side)");
    EXPECT_STREQ(linkErrorText(0xE4), "Communication port open error!");
    EXPECT_STREQ(linkErrorText(0xE9), "Processing-regulation outside error!");
    EXPECT_STREQ(linkErrorText(2), "Unknown error!");
    EXPECT_STREQ(processText(0), "Other processes");
    EXPECT_STREQ(processText(9), "Send of backup data");
    EXPECT_STREQ(processText(10), "Other processes");
}

}  // namespace
}  // namespace tarnwick::test
