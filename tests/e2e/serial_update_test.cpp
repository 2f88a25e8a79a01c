// The update over RS-232C from the Update button to the result box, against the
// simulated product: what the operator sees and what the product receives.
#include <gtest/gtest.h>

#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

using Strings = std::vector<std::string>;

// --- a complete update ---

TEST_F(SerialUpdateTest, CompleteUpdateSendsCommandsAndFramesInOrder) {
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Info);
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?", "text SYPKG 0101", "text RBUPDATE", "frame C 01",
                                   "frame I 01",  // the model
                                   "frame L 01", "frame I 01",  // MAIN: erase and write, checksum
                                   "frame X 01>11", "frame C 11", "frame L 11", "frame I 11",  // DSP behind one hop
                                   "frame X 01>10", "text RBNORM"}));
    EXPECT_TRUE(written(0));
    EXPECT_TRUE(written(1));
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Normal);
    EXPECT_EQ(sim->engine().packageId(), "0101");
    // Seven port opens settle 1 s each; 5 s after the reboot command, after each write,
    // after the hop, and three times around the return to normal mode.
    EXPECT_EQ(clock.settles.size(), 7u + 5 + 5 + 5 + 5 + 15);
    EXPECT_EQ(window->updateMode, 0);
    EXPECT_EQ(window->serialLink, nullptr);
    EXPECT_TRUE(dialog.isEnabled(ctl::Update));
}

TEST_F(SerialUpdateTest, StatusLinesNameEachStepAndTheComponentBeingWritten) {
    start();
    update();
    Strings lines;
    for (const RecordedStatus& s : dialog.statusLines) {
        if (lines.empty() || lines.back() != s.text) lines.push_back(s.text);
    }
    const Strings expectedStart = {"Updating start...", "Reboot(Update Mode)...", "01/02 [01:MAIN] Updating start..."};
    ASSERT_GE(lines.size(), expectedStart.size());
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 3), expectedStart);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "02/02 [01:MAIN] Switching(ID:01 -> ID:11)..."), lines.end());
    EXPECT_EQ(lines.back(), "Reboot(Nomal Mode)...");
}

struct CheckCase {
    uint8_t writeMethod;
    int checkMode;
    const char* checkFrame;  // what the product sees after the write: 'S' read-back or 'I' checksum
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << "writeMethod " << int(c.writeMethod) << ", checkMode " << c.checkMode;
}

class CheckMethodRun : public SerialUpdateTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckMethodRun, CompletesWithTheCheckTheMethodSelects) {
    const CheckCase c = GetParam();
    pkg.components = {component(0x01, "MAIN", "0200", "01", c.writeMethod, 0x0500)};
    if (c.writeMethod == 2) product.infoKinds[0x01] = sim::InfoKind::Crc32Words;
    if (c.writeMethod == 6) product.infoKinds[0x01] = sim::InfoKind::StatusWord;
    start();
    dialog.controls.checkMode = c.checkMode;
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    Strings afterWrite;
    const Strings all = commands();
    auto erase = std::find(all.begin(), all.end(), "frame L 01");
    ASSERT_NE(erase, all.end());
    afterWrite.assign(erase + 1, all.end());
    Strings expected;
    if (c.checkFrame[0] != '\0') expected.push_back(c.checkFrame);
    expected.push_back("frame X 01>10");
    expected.push_back("text RBNORM");
    EXPECT_EQ(afterWrite, expected);
    EXPECT_TRUE(written(0));
}

INSTANTIATE_TEST_SUITE_P(ByWriteMethodAndCheckMode, CheckMethodRun,
                         ::testing::Values(CheckCase{1, 0, "frame S 01"},   // Verify: read back
                                           CheckCase{1, 1, "frame I 01"},   // Sum: 16-bit checksum
                                           CheckCase{2, 1, "frame I 01"},   // Sum: 32-bit word CRC
                                           CheckCase{3, 1, "frame S 01"},   // read back even with Sum
                                           CheckCase{4, 0, "frame I 01"},   // checksum even with Verify
                                           CheckCase{6, 0, "frame I 01"},   // status word
                                           CheckCase{7, 0, ""}),            // no check
                         [](const ::testing::TestParamInfo<CheckCase>& info) {
                             return "Method" + std::to_string(info.param.writeMethod) +
                                    (info.param.checkMode == 0 ? "Verify" : "Sum");
                         });

TEST_F(SerialUpdateTest, ReadBackLeavesTheVerifyDataInTheWorkDirectory) {
    start();
    dialog.controls.checkMode = 0;
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_EQ(std::filesystem::file_size(workFile("verifydata00.bin")), 0x400u);
    EXPECT_EQ(std::filesystem::file_size(workFile("verifydata01.bin")), 0x300u);
}

// --- settling waits and re-queries ---

TEST_F(SerialUpdateTest, DM8PartsSettleForAMinuteAfterTheirHopAndTheirWrite) {
    pkg.components = {component(0x02, "DM8SBL", "0200", "0102", 1, 0x0100)};
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    // Seven port opens of 1 s; 5 s after the reboot command, 60 s after the hop to id 2,
    // 60 s after writing a "DM8" component, 15 s around the return to normal mode.
    EXPECT_EQ(clock.settles.size(), 7u + 5 + 60 + 60 + 15);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>(clock.settles.size(), 1000));
}

TEST_F(SerialUpdateTest, VersionsStillStartingAreQueriedSevenTimesTenSecondsApartThenTheRunGoesOn) {
    product.slotVersions[1] = "B0000000";
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    int queries = 0;
    for (const std::string& e : commands()) queries += e == "text VIALL?";
    EXPECT_EQ(queries, 1 + 7);
    EXPECT_EQ(clock.settles.size(), 7u + 6 * 1 + 6 * 10 + 5 + 5 + 5 + 5 + 15);
}

// --- what needs updating ---

TEST_F(SerialUpdateTest, NothingToRenewWhenEverySelectedComponentHasItsVersion) {
    product.slotVersions[0] = "0200";
    product.slotVersions[2] = "0200";
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"No device to be renewed."});
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Info);
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?", "text SYPKG 0101"}));
    EXPECT_EQ(window->lastResultCode, 10);
}

TEST_F(SerialUpdateTest, AllDeviceUpdateWritesComponentsThatAlreadyHaveTheirVersion) {
    product.slotVersions[0] = "0200";
    product.slotVersions[2] = "0200";
    start();
    dialog.controls.updateMode = 1;
    window->onModeClicked();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_TRUE(sawCommand("frame L 01"));
    EXPECT_TRUE(sawCommand("frame L 11"));
    EXPECT_EQ(dialog.controls.updateMode, 0);  // every run ends with "Normal update."
}

TEST_F(SerialUpdateTest, NormalUpdatePassesAComponentThatHasItsVersion) {
    product.slotVersions[2] = "0200";  // DSP is current, MAIN is not
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_TRUE(sawCommand("frame L 01"));
    EXPECT_FALSE(sawCommand("frame L 11"));
    EXPECT_FALSE(sawCommand("frame X 01>11"));
    bool passed = false;
    for (const RecordedStatus& s : dialog.statusLines) passed |= s.text == "02/02 [11:DSP] Pass update.";
    EXPECT_TRUE(passed);
}

TEST_F(SerialUpdateTest, NoPackageCommandWhenTheProductHasThePackageId) {
    product.packageId = "0101";
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_FALSE(sawCommand("text SYPKG"));
}

// --- confirmations ---

const char* const kDowngradeQuestion = "The firmware version is downgraded!\n\nIs the update continued?";

TEST_F(SerialUpdateTest, DeclinedDowngradeSendsNothingButTheQueries) {
    product.slotVersions[2] = "0300";  // DSP newer than the package
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{kDowngradeQuestion});
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Question);
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?"}));
    EXPECT_EQ(window->lastResultCode, -1);
    EXPECT_EQ(window->serialLink, nullptr);
}

TEST_F(SerialUpdateTest, AcceptedDowngradeShowsTheNoteAndUpdates) {
    product.slotVersions[2] = "0300";
    start();
    dialog.answers = {kAnswerYes};
    update();
    EXPECT_EQ(texts(dialog.boxes), (Strings{kDowngradeQuestion,
                                            "Note :\n After completing the update,\n Set the update notification to OFF\n"
                                            " by the setup menu!",
                                            "Update completed."}));
    EXPECT_TRUE(written(1));
}

TEST_F(SerialUpdateTest, DeclinedFirmwareTypeChangeSendsNothingButTheQueries) {
    product.slotVersions[0] = "A100";
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{"The firmware type is different\n"
                                           " in the target product and the firmware file!\n\n"
                                           " Target Product : Upgrade version\n"
                                           " Firmware file : Normal version\n\n"
                                           "Is the update continued?"});
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?"}));
}

TEST_F(SerialUpdateTest, AcceptedFirmwareTypeChangeSkipsTheDowngradeQuestion) {
    product.slotVersions[0] = "0100";
    pkg.components[0].versionText = "A100";
    product.slotVersions[2] = "0300";  // would be a downgrade question otherwise
    start();
    dialog.answers = {kAnswerYes};
    update();
    ASSERT_EQ(dialog.boxes.size(), 2u);
    EXPECT_EQ(dialog.boxes[0].text, "The firmware type is different\n"
                                    " in the target product and the firmware file!\n\n"
                                    " Target Product : Normal version\n"
                                    " Firmware file : Upgrade version\n\n"
                                    "Is the update continued?");
    EXPECT_EQ(dialog.boxes[1].text, "Update completed.");
    EXPECT_TRUE(sawCommand("text SYPKG 0101"));
}

// --- the recovery path: a product left in its update mode ---

const char* const kRecoveryQuestion = "Is the recovery update executed?\n\nNote :\n The firmware of all devices is updated!";

TEST_F(SerialUpdateTest, RecoveryDeclinedEndsQuietlyWithNormalUpdateSelected) {
    product.startInUpdateMode = true;
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes), Strings{kRecoveryQuestion});
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?", "text VIALL?", "text VIALL?", "frame C 01"}));
    EXPECT_EQ(dialog.controls.updateMode, 0);
    EXPECT_EQ(window->lastResultCode, -1);
}

TEST_F(SerialUpdateTest, RecoveryAcceptedRewritesEverySelectedComponent) {
    product.startInUpdateMode = true;
    product.slotVersions[0] = "0200";  // versions do not matter on this path
    start();
    dialog.answers = {kAnswerYes};
    update();
    EXPECT_EQ(texts(dialog.boxes), (Strings{kRecoveryQuestion, "Update completed."}));
    const Strings all = commands();
    const Strings afterQuestion(all.begin() + 5, all.end());
    EXPECT_EQ(afterQuestion, (Strings{"frame C 01", "frame I 01", "frame L 01", "frame I 01", "frame X 01>11",
                                      "frame C 11", "frame L 11", "frame I 11", "frame X 01>10", "text RBNORM"}));
    EXPECT_TRUE(written(0));
    EXPECT_TRUE(written(1));
    EXPECT_EQ(dialog.controls.updateMode, 0);
}

// --- the product's model ---

TEST_F(SerialUpdateTest, ModelMismatchStopsAfterTheInformationRequest) {
    product.modelCode = 0x0003;
    start();
    update();
    EXPECT_EQ(texts(dialog.boxes),
              Strings{"Model id is different!\n Product     : M0003\n Update file : M0002\n\nCheck the update file."});
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Error);
    const Strings all = commands();
    EXPECT_EQ(all.back(), "frame I 01");
    EXPECT_FALSE(sawCommand("frame L"));
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Update);  // left in its update mode
    EXPECT_EQ(window->lastResultCode, 5);
}

}  // namespace
}  // namespace tarnwick::test
