// The update over RS-232C from the Update button to the result box, against the
// simulated product: what the operator sees and what the product receives, on success
// and on each failure (the switch path, the checks after a write, a silent product).

#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

TEST_F(SerialUpdateTest, CompleteUpdateSendsCommandsAndFramesInOrderAndNamesEachStep) {
    start();
    window->onUpdate();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    EXPECT_EQ(commands(), (Strings{"text VIALL?", "text VIALL?", "text SYPKG 0101", "text RBUPDATE", "frame C 01",
                                   "frame I 01",  // the model
                                   "frame L 01", "frame I 01",  // MAIN: erase and write, checksum
                                   "frame X 01>11", "frame C 11", "frame L 11", "frame I 11",  // DSP behind one hop
                                   "frame X 01>10", "text RBNORM"}));
    EXPECT_TRUE(written(0) && written(1));
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Normal);
    EXPECT_EQ(sim->engine().packageId(), "0101");
    Strings lines;
    for (const RecordedStatus& s : dialog.statusLines) if (lines.empty() || lines.back() != s.text) lines.push_back(s.text);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(Strings(lines.begin(), lines.begin() + 3),
              (Strings{"Updating start...", "Reboot(Update Mode)...", "01/02 [01:MAIN] Updating start..."}));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "02/02 [01:MAIN] Switching(ID:01 -> ID:11)..."), lines.end());
    EXPECT_EQ(lines.back(), "Reboot(Nomal Mode)...");
}

// One run of a table row, then everything the row names.
TEST_P(UpdateRun, EndsAsExpected) {
    const RunCase& c = GetParam();
    if (c.setup) c.setup(product, pkg);
    start();
    if (c.checkMode >= 0) dialog.controls.checkMode = c.checkMode;
    if (c.allDevices) {
        dialog.controls.updateMode = 1;
        window->onModeClicked();
    }
    dialog.answers = c.answers;
    window->onUpdate();
    EXPECT_EQ(texts(dialog.boxes), c.boxes);
    if (!c.commands.empty()) { EXPECT_EQ(commands(), c.commands); }
    if (!c.from.empty()) { EXPECT_EQ(commandsFrom(c.from[0]), c.from); }
    for (const auto& [prefix, n] : c.counts) EXPECT_EQ(seen(prefix), n) << prefix;
    if (c.lastCommand) { EXPECT_EQ(commands().back(), c.lastCommand); }
    if (c.resultCode) { EXPECT_EQ(window->lastResultCode, *c.resultCode); }
    for (size_t k : c.written) EXPECT_TRUE(written(k)) << "component " << k;
    for (const auto& [name, size] : c.workFiles) EXPECT_EQ(std::filesystem::file_size(workFile(name)), size) << name;
    EXPECT_GE(clock.settles.size(), c.minSettles);
    EXPECT_EQ(window->activeLink, nullptr);
    EXPECT_EQ(dialog.controls.updateMode, 0);  // every run ends with "Normal update."
}

const char* const kDowngradeQuestion = "The firmware version is downgraded!\n\nIs the update continued?";
const char* const kRecoveryQuestion = "Is the recovery update executed?\n\nNote :\n The firmware of all devices is updated!";
const char* const kDone = "Update completed.";
const Strings kQueries{"text VIALL?", "text VIALL?"};

// A package of MAIN alone written with the method and checked in the mode: the check
// frame the product sees after the erase ('S' read-back, 'I' checksum, or none).
RunCase checkRun(uint8_t method, int mode, const char* frame) {
    Strings from{"frame L 01", "frame X 01>10", "text RBNORM"};
    if (*frame) from.insert(from.begin() + 1, frame);
    return {.name = "Method" + std::to_string(method) + (mode == 0 ? "Verify" : "Sum"),
            .setup = [method](auto& s, auto& p) {
                p.components = {SerialUpdateTest::component(0x01, "MAIN", "0200", "01", method, 0x0500)};
                if (method == 2) s.infoKinds[0x01] = sim::InfoKind::Crc32Words;
                if (method == 6) s.infoKinds[0x01] = sim::InfoKind::StatusWord;
            },
            .checkMode = mode, .boxes = {"Update completed."}, .from = from, .written = {0}};
}

const RunCase kRuns[] = {
    checkRun(1, 0, "frame S 01"),  // Verify: read back
    checkRun(1, 1, "frame I 01"),  // Sum: 16-bit checksum
    checkRun(2, 1, "frame I 01"),  // Sum: 32-bit word CRC
    checkRun(3, 1, "frame S 01"),  // read back even with Sum
    checkRun(4, 0, "frame I 01"),  // checksum even with Verify
    checkRun(6, 0, "frame I 01"),  // status word
    checkRun(7, 0, ""),            // no check
    // A minute's wait after the hop to id 2 and another after writing a "DM8" component.
    {.name = "DM8PartsSettleForAMinuteAfterHopAndWrite",
     .setup = [](auto&, auto& p) { p.components = {SerialUpdateTest::component(0x02, "DM8SBL", "0200", "0102", 1, 0x100)}; },
     .boxes = {kDone}, .minSettles = 120},
    // Versions still starting are queried seven more times, then the run goes on.
    {.name = "StartingVersionsQueriedSevenTimes", .setup = [](auto& s, auto&) { s.slotVersions[1] = "B0000000"; },
     .boxes = {kDone}, .counts = {{"text VIALL?", 1 + 7}}},
    {.name = "NothingToRenew", .setup = [](auto& s, auto&) { s.slotVersions[0] = s.slotVersions[2] = "0200"; },
     .boxes = {"No device to be renewed."}, .commands = {"text VIALL?", "text VIALL?", "text SYPKG 0101"}, .resultCode = 10},
    {.name = "DeclinedDowngradeSendsOnlyTheQueries", .setup = [](auto& s, auto&) { s.slotVersions[2] = "0300"; },
     .boxes = {kDowngradeQuestion}, .commands = kQueries, .resultCode = -1},
    {.name = "AcceptedDowngradeShowsTheNote", .setup = [](auto& s, auto&) { s.slotVersions[2] = "0300"; }, .answers = {kAnswerYes},
     .boxes = {kDowngradeQuestion, "Note :\n After completing the update,\n Set the update notification to OFF\n by the setup menu!", kDone},
     .written = {1}},
    {.name = "DeclinedFirmwareTypeChangeSendsOnlyTheQueries", .setup = [](auto& s, auto&) { s.slotVersions[0] = "A100"; },
     .boxes = {"The firmware type is different\n in the target product and the firmware file!\n\n"
               " Target Product : Upgrade version\n Firmware file : Normal version\n\nIs the update continued?"},
     .commands = kQueries},
    // Accepting the type change skips the downgrade question DSP would ask.
    {.name = "AcceptedFirmwareTypeChangeSkipsTheDowngradeQuestion",
     .setup = [](auto& s, auto& p) { p.components[0].versionText = "A100", s.slotVersions[2] = "0300"; }, .answers = {kAnswerYes},
     .boxes = {"The firmware type is different\n in the target product and the firmware file!\n\n"
               " Target Product : Normal version\n Firmware file : Upgrade version\n\nIs the update continued?", kDone},
     .counts = {{"text SYPKG 0101", 1}}},
    // A product left in its update mode.
    {.name = "RecoveryDeclinedEndsQuietly", .setup = [](auto& s, auto&) { s.startInUpdateMode = true; },
     .boxes = {kRecoveryQuestion}, .commands = {"text VIALL?", "text VIALL?", "text VIALL?", "text VIALL?", "frame C 01"},
     .resultCode = -1},
    // Versions do not matter on the recovery path: everything selected is rewritten.
    {.name = "RecoveryAcceptedRewritesEverything",
     .setup = [](auto& s, auto&) { s.startInUpdateMode = true, s.slotVersions[0] = "0200"; }, .answers = {kAnswerYes},
     .boxes = {kRecoveryQuestion, kDone}, .counts = {{"text SYPKG", 0}, {"text RBUPDATE", 0}},
     .lastCommand = "text RBNORM", .written = {0, 1}},
    // The product is left in its update mode.
    {.name = "ModelMismatchStopsAfterTheInformationRequest", .setup = [](auto& s, auto&) { s.modelCode = 0x0003; },
     .boxes = {"Model id is different!\n Product     : M0003\n Update file : M0002\n\nCheck the update file."},
     .counts = {{"frame L", 0}, {"text RBNORM", 0}}, .lastCommand = "frame I 01", .resultCode = 5},
};

INSTANTIATE_TEST_SUITE_P(Outcomes, UpdateRun, ::testing::ValuesIn(kRuns), runCaseName);

using C = pkgbuild::ComponentDescription;
C main1(uint8_t method = 1) { return SerialUpdateTest::component(0x01, "MAIN", "0200", "01", method, 0x0400); }
C pld() { return SerialUpdateTest::component(0x21, "PLD", "0200", "011121", 1, 0x0200); }

const char* const kFailed = "Update Failed!";
const char* const kConnectTimeout = "Target : MAIN\nProcess : Connection with target\nError : Communication timeout error!\n";

C osd() { return SerialUpdateTest::component(0x31, "OSD", "0200", "0131", 1, 0x0100); }

// DSP already at the package's version, its data damaged.
void damagedCurrentDsp(sim::SimConfig& s, pkgbuild::PackageDescription& p) {
    s.slotVersions[2] = "0200";
    p.components[1].checksum = pkgbuild::checksumFor(1, p.components[1].data) + 1;
}

const RunCase kFailures[] = {
    // Two hops: the port is reopened and the target connected at each.
    {.name = "TwoHopSwitchPathConnectsAtEveryHop", .setup = [](auto&, auto& p) { p.components = {main1(), pld()}; },
     .boxes = {kDone},
     .from = {"frame X 01>11", "frame C 11", "frame X 11>21", "frame C 21", "frame L 21", "frame I 21", "frame X 01>10", "text RBNORM"},
     .written = {1}},
    // A refused hop fails the component; the rest are not processed and the product
    // stays in its update mode.
    {.name = "ARefusedHopFailsWithTheSwitchReport",
     .setup = [](auto& s, auto& p) { p.components = {main1(), pld(), osd()}, s.absentTargets = {0x21}; },
     .boxes = {"Target : ID:11\nProcess : Switch of target\nError : Communication retry error!\n", kFailed},
     .counts = {{"frame X 11>21", 4}, {"frame L 21", 0}, {"frame X 01>31", 0}, {"text RBNORM", 0}}, .resultCode = 1},
    {.name = "ComponentsOfOneTargetNeedOneSwitch",
     .setup = [](auto&, auto& p) {
         p.components = {SerialUpdateTest::component(0x11, "DSP", "0200", "0111", 1, 0x0300),
                         SerialUpdateTest::component(0x11, "DSP", "0200", "0111", 1, 0x0100)};
         p.components[1].startAddress = 0x8000;
     },
     .boxes = {kDone}, .counts = {{"frame X 01>11", 1}}, .written = {0, 1}},
    // A component whose data do not match its checksum fails the run before the product is
    // changed, not after the components before it were rewritten; one the run passes does not.
    {.name = "ADamagedThirdComponentFailsBeforeTheProductIsChanged",
     .setup = [](auto&, auto& p) {
         p.components = {main1(), pld(), osd()};
         p.components[2].checksum = pkgbuild::checksumFor(1, p.components[2].data) + 1;
     },
     .boxes = {kFailed}, .commands = kQueries, .resultCode = 1},
    {.name = "ADamagedComponentThatIsPassedLetsTheRunComplete", .setup = damagedCurrentDsp,
     .boxes = {kDone}, .counts = {{"frame L 11", 0}, {"frame X 01>11", 0}}, .written = {0}},
    {.name = "ADamagedComponentIsWrittenUnderAllDeviceUpdate", .setup = damagedCurrentDsp, .allDevices = true,
     .boxes = {kFailed}, .commands = kQueries},
    {.name = "ADamagedComponentFailsTheRecoveryBeforeItsConnect",
     .setup = [](auto& s, auto& p) {
         damagedCurrentDsp(s, p);
         s.startInUpdateMode = true;
     },
     .boxes = {kFailed}, .commands = Strings(4, "text VIALL?")},
    // The checks after a write; reading back leaves the verify data in the work directory.
    {.name = "ReadBackMismatch", .setup = [](auto& s, auto&) { s.corruptReadBack = {0x01}; }, .checkMode = 0,
     .boxes = {"Target : MAIN\nProcess : Verify check of update\nError : Verification error!\n", kFailed},
     .counts = {{"frame X 01>11", 0}}, .workFiles = {{"verifydata00.bin", 0x400}}},
    {.name = "ChecksumMismatch", .setup = [](auto& s, auto&) { s.badComponentChecksum = {0x11}; },
     .boxes = {"Target : DSP\nProcess : Check of update\nError : Checksum error!\n", kFailed}, .written = {0}},
    {.name = "StatusWordOtherThanOk",
     .setup = [](auto& s, auto& p) { p.components = {main1(6)}, s.infoKinds[0x01] = sim::InfoKind::StatusWord, s.statusFailed = {0x01}; },
     .boxes = {"Target : MAIN\nProcess : Check of update\nError : Checksum error!\n", kFailed}},
    {.name = "WriteMethodFiveIsWrittenAndCountedAsFailed", .setup = [](auto&, auto& p) { p.components = {main1(5)}; },
     .boxes = {kFailed}, .lastCommand = "frame L 01", .written = {0}},
    {.name = "AnEraseErrorShowsTheProductsOwnText",
     .setup = [](auto& s, auto&) { s.faults = {sim::FrameFault{sim::FaultKind::Error, 'L', 0x01, 0, 1, 0xE8}}; },
     .boxes = {"Target : MAIN\nProcess : Update of target\nError : (E8)Flash ROM erase error\n", kFailed}},
    // A product that does not answer (in its update mode, so that it takes the connect
    // frames as frames).
    {.name = "SilentProductGivesTheConnectReport", .setup = [](auto& s, auto&) { s.silent = s.startInUpdateMode = true; },
     .boxes = {kConnectTimeout, "Communication error!"}, .counts = {{"text VIALL?", 4}, {"frame C 01", 4}},
     .lastCommand = "frame C 01", .resultCode = 6},
    {.name = "UnanswerableRebootFailsOnlyAtTheConnect",
     .setup = [](auto& s, auto&) { s.faults = {sim::FrameFault{sim::FaultKind::Silence, 'C', 0xFF, 0, 4}}; },
     .boxes = {kConnectTimeout, "Communication error!"}, .counts = {{"text RBUPDATE", 1}}},
};

INSTANTIATE_TEST_SUITE_P(Failures, UpdateRun, ::testing::ValuesIn(kFailures), runCaseName);

}  // namespace
}  // namespace tarnwick::test
