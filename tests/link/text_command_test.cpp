// The normal mode's text commands, the line reader and the "VIALL?" answer.
#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

using TextCommands = LinkTest;

TEST_F(TextCommands, AnyRbstartLineAnswersTheRebootCommand) {
    answerInTurn({bytesOf("\nRBSTAR\rXRBSTART now\r")});
    EXPECT_EQ(link->enterUpdateMode(), 1);
    EXPECT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(wire->writes[0], bytesOf("RBUPDATE\r"));
    EXPECT_EQ(link->lastLine(), "RBSTART now\r");
}

TEST_F(TextCommands, UnansweredCommandIsSentFourTimes) {
    answerAlways(bytesOf("RBSTOP\r"));
    EXPECT_EQ(link->enterNormalMode(), 0);
    EXPECT_EQ(wire->writes.size(), 4u);
    EXPECT_EQ(wire->writes[3], bytesOf("RBNORM\r"));
    EXPECT_EQ(owner.pumps, 0);
    EXPECT_TRUE(owner.linkErrors.empty());
}

TEST_F(TextCommands, PackageCommandCarriesTheIdAndPumpsBetweenTries) {
    link->setPackageCommand("12AB");
    EXPECT_EQ(std::string(link->packageCommand.data()), "SYPKG 12AB\r");
    EXPECT_EQ(link->setPackage(), 0);
    EXPECT_EQ(wire->writes.size(), 4u);
    EXPECT_EQ(owner.pumps, 3);
    answerAlways(bytesOf("SYPKG 12AB\r"));
    EXPECT_EQ(link->setPackage(), 1);
}

TEST_F(TextCommands, ReadLineLimits) {
    EXPECT_EQ(link->readLine("", 1), kErrLine);
    EXPECT_EQ(link->readLine(std::string(1035, 'A'), 1), kErrLine);
    EXPECT_EQ(link->readLine("RB", 1), static_cast<int>(kErrTimeout));
    EXPECT_EQ(clock.now, 1000u);
    clock.now = 0;
    EXPECT_EQ(link->readLine("RB", 61), static_cast<int>(kErrTimeout));
    EXPECT_EQ(clock.now, 60000u);
    // A line of 1034 bytes fits exactly when its last byte is the CR.
    wire->feed(bytesOf("RB" + std::string(1031, 'x') + "\r"));
    EXPECT_EQ(link->readLine("RB", 1), 0);
    wire->feed(bytesOf("RB" + std::string(1032, 'x') + "\r"));
    EXPECT_EQ(link->readLine("RB", 1), kErrLine);
    wire->failReads = true;
    wire->feed(bytesOf("R"));
    EXPECT_EQ(link->readLine("RB", 1), static_cast<int>(kErrComm));
}

TEST_F(TextCommands, DroppedByteIsNotTriedAsTheFirstPrefixCharacter) {
    // "RRB..." : the second R breaks the match and is dropped, so "B..." never matches.
    wire->feed(bytesOf("RRBSTART\r"));
    EXPECT_EQ(link->readLine("RBSTART", 1), static_cast<int>(kErrTimeout));
}

using TargetInfoQuery = ProductLinkTest;

TEST_F(TargetInfoQuery, FullAnswerFillsEverySlot) {
    config.slotVersions[0] = "0102  ";
    config.slotVersions[6] = "B0001";
    useProduct();
    ASSERT_EQ(link->queryTargetInfo(), 1);
    const TargetInfo& t = link->targetInfo;
    EXPECT_EQ(t.model, "TWK-7000");
    EXPECT_EQ(t.serialNumber, "TW0000001\r");
    EXPECT_EQ(t.missingSlots, 0u);
    EXPECT_EQ(t.slotIds[0], 0x01);
    EXPECT_EQ(t.slotNames[0], "MAIN");
    EXPECT_EQ(t.slotVersions[0], "0102");
    EXPECT_EQ(t.slotNames[7], "DM8IMG");
    EXPECT_EQ(t.slotOfId[0x00], 5);
    EXPECT_EQ(t.slotOfId[0x2A], 4);
    EXPECT_EQ(t.slotOfId[0x03], 7);
    EXPECT_EQ(t.macAddress, "00:11:22:33:44:55\r");
    EXPECT_EQ(t.packageId.substr(0, 4), "0001");
    EXPECT_EQ(t.hardwareId, "HW01\r");
    EXPECT_EQ(link->versionsValid(), 1);
}

TEST_F(TargetInfoQuery, ShortAnswerModelHasFourComponentLinesAndNoNetworkLines) {
    config.model = "MXQ4410RT";
    config.slotVersions[5] = "";  // slots beyond the answer are not examined
    useProduct();
    ASSERT_EQ(link->queryTargetInfo(), 1);
    const TargetInfo& t = link->targetInfo;
    EXPECT_EQ(t.missingSlots, 4u);
    EXPECT_EQ(t.slotNames[3], "PLD");
    EXPECT_EQ(t.slotNames[4], "");
    EXPECT_EQ(t.macAddress, "");
    EXPECT_EQ(t.packageId, "");
    EXPECT_EQ(t.hardwareId, "HW01\r");
    EXPECT_EQ(link->versionsValid(), 1);
}

TEST_F(TargetInfoQuery, ShortAnswerFromAFullModelIsAskedAgainAndFails) {
    // Four component lines but a model that needs eight: lines run out, the query repeats.
    answerAlways(bytesOf("VIALLTWK-7000\rVIALLS/N.1\rVIALLMAIN:1\rVIALLMAINFBL:1\rVIALLDSP:1\r"
                         "VIALLPLD:1\rVIALLHWID:x\rVIALLEND:\r"));
    EXPECT_EQ(link->queryTargetInfo(), 0);
    EXPECT_EQ(wire->writes.size(), 4u);
    EXPECT_EQ(link->readInfoLines(), static_cast<int>(kErrTimeout));
    EXPECT_EQ(link->targetInfo.model, "");  // cleared at the start of every answer
}

TEST(TargetInfoRules, VersionsValidLooksAtUsedSlotsOnly) {
    TargetInfo t;
    for (int k = 0; k < 8; ++k) t.slotVersions[k] = "0100";
    EXPECT_EQ(t.versionsValid(), 1);
    t.slotVersions[7] = "I0000X";
    EXPECT_EQ(t.versionsValid(), 0);
    t.missingSlots = 4;
    EXPECT_EQ(t.versionsValid(), 1);
    t.slotVersions[2] = "";
    EXPECT_EQ(t.versionsValid(), 0);
}

TEST(TargetInfoRules, LinesAreCutToTwentyFourCharactersAndOutOfRangeSlotsIgnored) {
    TargetInfo t;
    t.parseLine(0, "VIALL", "VIALL" + std::string(30, 'M') + "\r");
    EXPECT_EQ(t.model, std::string(24, 'M'));
    t.parseLine(2, "VIALL", "VIALL" + std::string(30, 'n') + ":" + std::string(30, 'v') + "\r");
    EXPECT_EQ(t.slotNames[0], std::string(24, 'n'));
    EXPECT_EQ(t.slotVersions[0], std::string(24, 'v'));
    t.parseLine(10, "VIALL", "VIALLX:1\r");
    t.parseLine(1, "VIALL", "VIALLY:1\r");
    EXPECT_EQ(t.slotNames[7], "");
    t.parseLine(1, "VIALLS/N.", "VIALLHWID:zz\r");  // wrong start: ignored
    EXPECT_EQ(t.serialNumber, "");
}

}  // namespace
}  // namespace tarnwick::test
