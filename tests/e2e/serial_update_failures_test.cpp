// Failures of the update over RS-232C: the switch path, the checks after a write and a
// silent product, each with the boxes the operator sees and what reached the product.
#include <gtest/gtest.h>

#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

using C = pkgbuild::ComponentDescription;
C main1(uint8_t method = 1) { return SerialUpdateTest::component(0x01, "MAIN", "0200", "01", method, 0x0400); }
C pld() { return SerialUpdateTest::component(0x21, "PLD", "0200", "011121", 1, 0x0200); }

const char* const kFailed = "Update Failed!";
const char* const kConnectTimeout = "Target : MAIN\nProcess : Connection with target\nError : Communication timeout error!\n";

const RunCase kFailures[] = {
    // Two hops: the port is reopened and the target connected at each.
    {.name = "TwoHopSwitchPathConnectsAtEveryHop", .setup = [](auto&, auto& p) { p.components = {main1(), pld()}; },
     .boxes = {"Update completed."},
     .from = {"frame X 01>11", "frame C 11", "frame X 11>21", "frame C 21", "frame L 21", "frame I 21",
               "frame X 01>10", "text RBNORM"},
     .written = {1}},
    // A refused hop fails the component; the rest are not processed and the product
    // stays in its update mode.
    {.name = "ARefusedHopFailsWithTheSwitchReport",
     .setup = [](auto& s, auto& p) {
         p.components = {main1(), pld(), SerialUpdateTest::component(0x31, "OSD", "0200", "0131", 1, 0x0100)};
         s.absentTargets = {0x21};
     },
     .boxes = {"Target : ID:11\nProcess : Switch of target\nError : Communication retry error!\n", kFailed},
     .counts = {{"frame X 11>21", 4}, {"frame L 21", 0}, {"frame X 01>31", 0}, {"text RBNORM", 0}},
     .resultCode = 1},
    {.name = "APathNotEndingWithTheComponentSendsNothing",
     .setup = [](auto&, auto& p) { p.components = {SerialUpdateTest::component(0x11, "DSP", "0200", "0121", 1, 0x300)}; },
     .boxes = {kFailed}, .lastCommand = "frame I 01"},  // the model query, then nothing
    {.name = "ComponentsOfOneTargetNeedOneSwitch",
     .setup = [](auto&, auto& p) {
         p.components = {SerialUpdateTest::component(0x11, "DSP", "0200", "0111", 1, 0x0300),
                         SerialUpdateTest::component(0x11, "DSP", "0200", "0111", 1, 0x0100)};
         p.components[1].startAddress = 0x8000;
     },
     .boxes = {"Update completed."}, .counts = {{"frame X 01>11", 1}}, .written = {0, 1}},
    // A component whose data do not match its checksum fails the run before the product
    // hears anything, not after the components before it were rewritten.
    {.name = "ADamagedThirdComponentFailsBeforeAnythingIsSent",
     .setup = [](auto&, auto& p) {
         p.components = {main1(), pld(), SerialUpdateTest::component(0x31, "OSD", "0200", "0131", 1, 0x0100)};
         p.components[2].checksum = pkgbuild::checksumFor(1, p.components[2].data) + 1;
     },
     .boxes = {kFailed}, .counts = {{"text", 0}, {"frame", 0}}, .resultCode = 1,
     .modeAfter = sim::ProductMode::Normal},
    // The checks after a write.
    {.name = "ReadBackMismatch", .setup = [](auto& s, auto&) { s.corruptReadBack = {0x01}; }, .checkMode = 0,
     .boxes = {"Target : MAIN\nProcess : Verify check of update\nError : Verification error!\n", kFailed},
     .counts = {{"frame X 01>11", 0}}, .workFiles = {{"verifydata00.bin", 0x400}}},
    {.name = "ChecksumMismatch", .setup = [](auto& s, auto&) { s.badComponentChecksum = {0x11}; },
     .boxes = {"Target : DSP\nProcess : Check of update\nError : Checksum error!\n", kFailed}, .written = {0}},
    {.name = "StatusWordOtherThanOk",
     .setup = [](auto& s, auto& p) {
         p.components = {main1(6)};
         s.infoKinds[0x01] = sim::InfoKind::StatusWord;
         s.statusFailed = {0x01};
     },
     .boxes = {"Target : MAIN\nProcess : Check of update\nError : Checksum error!\n", kFailed}},
    {.name = "WriteMethodFiveIsWrittenAndCountedAsFailed", .setup = [](auto&, auto& p) { p.components = {main1(5)}; },
     .boxes = {kFailed}, .lastCommand = "frame L 01", .written = {0}},
    {.name = "AnEraseErrorShowsTheProductsOwnText",
     .setup = [](auto& s, auto&) { s.faults = {sim::FrameFault{sim::FaultKind::Error, 'L', 0x01, 0, 1, 0xE8}}; },
     .boxes = {"Target : MAIN\nProcess : Update of target\nError : (E8)Flash ROM erase error\n", kFailed}},
    // A product that does not answer (in its update mode, so that it takes the connect
    // frames as frames).
    {.name = "SilentProductGivesTheConnectReport",
     .setup = [](auto& s, auto&) { s.silent = s.startInUpdateMode = true; },
     .boxes = {kConnectTimeout, "Communication error!"},
     .commands = {"text VIALL?", "text VIALL?", "text VIALL?", "text VIALL?", "frame C 01", "frame C 01", "frame C 01",
                  "frame C 01"},
     .resultCode = 6},
    {.name = "UnanswerableRebootFailsOnlyAtTheConnect",
     .setup = [](auto& s, auto&) { s.faults = {sim::FrameFault{sim::FaultKind::Silence, 'C', 0xFF, 0, 4}}; },
     .boxes = {kConnectTimeout, "Communication error!"}, .counts = {{"text RBUPDATE", 1}}},
};

INSTANTIATE_TEST_SUITE_P(Failures, UpdateRun, ::testing::ValuesIn(kFailures), runCaseName);

}  // namespace
}  // namespace tarnwick::test
