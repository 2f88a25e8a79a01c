// The texts of the failure and result reports, and where the window sends them (the checks
// after a write, an erase error and the station's line are asserted end to end).
#include "report/reports.h"

#include "report/texts.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

TEST(ReportTexts, FailureReportsNameTargetProcessAndError) {
    UpdatePackage pkg;
    pkg.positionOfId[0x11] = 0;
    pkg.components[0].name = "DSP";
    const struct { ErrorRecord record; bool check; uint32_t productCode; const char* text; } cases[] = {
        {{0x11, 1, 5, 30}, false, 0, "Target : DSP\nProcess : Update of target\nError : Unknown error!\n"},
        {{0x2A, 0xEA, 42, 0}, false, 0, "Target : ID:2A\nProcess : Other processes\nError : Unknown error!\n"},
        // Only the low 8 bits of the id count.
        {{0x111, 0xE3, 2, 0}, false, 0, "Target : DSP\nProcess : Connection with target\nError : Communication timeout error!\n"},
        {{0x01, 0xE4, 9, 0}, false, 0, "Target : ID:01\nProcess : Send of backup data\nError : Communication port open error!\n"},
        {{0x01, 0xE9, 10, 0}, true, 0, "Target : ID:01\nProcess : Other processes\nError : Processing-regulation outside error!\n"},
        {{0x11, 0xE1, 3, 0}, true, 0xEE,
         "Target : DSP\nProcess : Setting of baud rate\nError : (EE)Backup data writing error! (Microcomputer side)\n"},
        {{0x11, 0xE1, 3, 0}, false, 0xDF,
         "Target : DSP\nProcess : Setting of baud rate\nError : Unknown error! (Microcomputer side)\n"},
        {{0x11, 0xE1, 3, 0}, false, 0xEF,
         "Target : DSP\nProcess : Setting of baud rate\nError : Unknown error! (Microcomputer side)\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureBoxText(composeFailure(c.record, c.check, pkg, c.productCode)), c.text);
    }
}

TEST(ReportTexts, ResultCodesPickTheirText) {
    const std::vector<std::string> expected = {
        "Update completed.", "Update Failed!", "File reading error!", "File writing error!",
        "Update target is not selected!",
        "Model id is different!\n Product     : M0003\n Update file : M0002\n\nCheck the update file.",
        "Communication error!", "Illegal processing!", "A version error!", "Package Version Update Error!",
        "No device to be renewed.", "Unknown error!", "Unknown error!"};
    for (int code = -1; code <= 12; ++code) {
        EXPECT_EQ(resultReportText(code, "0003", "0002"), expected[static_cast<size_t>(code < 0 ? 12 : code)]) << code;
    }
}

using ReportsTest = WindowTest;

// (Box kinds by result code show as the command line's [info]/[error] and the Qt icons.)
TEST_F(ReportsTest, NoProductCodeWithoutALinkAndNothingShownOrSoundedWhenQuiet) {
    start();
    window->reportLinkError({0x01, 0xE1, 3, 0});  // without a link the product's own code is unknown
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(dialog.boxes[0].text, "Target : ID:01\nProcess : Setting of baud rate\nError : Unknown error! (Microcomputer side)\n");
    dialog.boxes.clear();
    tone.played.clear();
    window->messagesQuiet = true;
    EXPECT_EQ(window->askYesNo("Continue?"), 0);
    window->showInfo("x");
    window->reportLinkError({1, 0xE0, 1, 0});
    window->reportResult(6);
    EXPECT_TRUE(dialog.boxes.empty() && tone.played.empty());
}

}  // namespace
}  // namespace tarnwick::test
