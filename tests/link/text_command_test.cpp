// The normal mode's text commands, the line reader and the "VIALL?" answer.
#include "support/drip_transport.h"
#include "support/link_fixture.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using TextCommands = LinkTest;

TEST_F(TextCommands, AnyRbstartLineAnswersTheRebootCommandAnUnansweredOneIsSentFourTimes) {
    answerInTurn({bytesOf("\nRBSTAR\rXRBSTART now\r")});
    EXPECT_EQ(link->enterUpdateMode(), 1);
    EXPECT_EQ(wire.writes, std::vector<std::vector<uint8_t>>{bytesOf("RBUPDATE\r")});
    EXPECT_EQ(link->lastLine(), "RBSTART now\r");
    wire.writes.clear();
    answerAlways(bytesOf("RBSTOP\r"));
    EXPECT_EQ(link->enterNormalMode(), 0);
    EXPECT_EQ(wire.writes, std::vector<std::vector<uint8_t>>(4, bytesOf("RBNORM\r")));
    EXPECT_TRUE(owner.pumps == 0 && owner.linkErrors.empty());
}

// A product that prints boot lines for 1.6 s (a byte every 50 ms) before each answer:
// every skipped byte restarts the 1-second wait, so each command goes out once.
TEST(BootLinesBeforeTheAnswer, EachCommandIsSentOnce) {
    const struct { const char* sent; bool (TargetLink::*command)(); } cases[] = {
        {"RBUPDATE\r", &TargetLink::enterUpdateMode},
        {"SYPKG 0101\r", &TargetLink::setPackage},
        {"VIALL?\r", &TargetLink::queryTargetInfo},
    };
    for (const auto& c : cases) {
        VirtualClock clock;
        sim::SimEngine product{sim::SimConfig{}};
        DripTransport wire(clock, 50);
        wire.responder = [&product](const std::vector<uint8_t>& w) {
            std::vector<uint8_t> out = bytesOf("boot: loader 1.2\rboot: memory ok\r");
            const std::vector<uint8_t> answer = product.feed(w.data(), w.size());
            out.insert(out.end(), answer.begin(), answer.end());
            return out;
        };
        TargetLink link(wire, clock);
        link.setPackageCommand("0101");
        EXPECT_TRUE((link.*c.command)()) << c.sent;
        EXPECT_EQ(wire.writes, std::vector<std::vector<uint8_t>>{bytesOf(c.sent)}) << c.sent;
    }
}

TEST_F(TextCommands, ReadLineLimits) {
    EXPECT_EQ(link->readLine("", 1s), ErrorCode::BadLine);
    EXPECT_EQ(link->readLine(std::string(1035, 'A'), 1s), ErrorCode::BadLine);
    EXPECT_EQ(link->readLine("RB", 61s), ErrorCode::Timeout);
    EXPECT_EQ(clock.now, 60000u);
    // A line of 1034 bytes fits exactly when its last byte is the CR.
    wire.feed(bytesOf("RB" + std::string(1031, 'x') + "\r"));
    EXPECT_EQ(link->readLine("RB", 1s), ErrorCode::None);
    wire.feed(bytesOf("RB" + std::string(1032, 'x') + "\r"));
    EXPECT_EQ(link->readLine("RB", 1s), ErrorCode::BadLine);
    // "RRB..." : the second R breaks the match and is dropped, so "B..." never matches.
    wire.feed(bytesOf("RRBSTART\r"));
    EXPECT_EQ(link->readLine("RBSTART", 1s), ErrorCode::Timeout);
    wire.failReads = true;
    wire.feed(bytesOf("R"));
    EXPECT_EQ(link->readLine("RB", 1s), ErrorCode::Comm);
}

using TargetInfoQuery = ProductLinkTest;

TEST_F(TargetInfoQuery, FullAndShortAnswersFillTheirSlots) {
    config.slotVersions[0] = "0102  ";
    useProduct();
    ASSERT_EQ(link->queryTargetInfo(), 1);
    const TargetInfo& t = link->targetInfo;
    EXPECT_EQ(std::tie(t.model, t.serialNumber, t.macAddress, t.hardwareId),
              std::make_tuple("TWK-7000", "TW0000001\r", "00:11:22:33:44:55\r", "HW01\r"));
    EXPECT_EQ(std::tie(t.slotNames[0], t.slotVersions[0], t.slotNames[7]), std::make_tuple("MAIN", "0102", "DM8IMG"));
    EXPECT_EQ(std::tie(t.slotOfId[0x2A], t.slotOfId[0x03]), std::make_tuple(4, 7));
    EXPECT_EQ(t.packageId.substr(0, 4), "0001");
    config.model = "MXQ4410RT";  // four component lines and no network lines
    config.slotVersions[5] = "";  // slots beyond the answer are not examined
    useProduct();
    ASSERT_EQ(link->queryTargetInfo(), 1);
    EXPECT_EQ(t.missingSlots, 4u);
    EXPECT_EQ(std::tie(t.slotNames[3], t.slotNames[4], t.macAddress, t.packageId), std::make_tuple("PLD", "", "", ""));
    EXPECT_EQ(link->versionsValid(), 1);
}

TEST_F(TargetInfoQuery, ShortAnswerFromAFullModelIsAskedAgainAndFails) {
    // Four component lines but a model that needs eight: lines run out, the query repeats.
    answerAlways(bytesOf("VIALLTWK-7000\rVIALLS/N.1\rVIALLMAIN:1\rVIALLMAINFBL:1\rVIALLDSP:1\r"
                         "VIALLPLD:1\rVIALLHWID:x\rVIALLEND:\r"));
    EXPECT_EQ(link->queryTargetInfo(), 0);
    EXPECT_EQ(wire.writes.size(), 4u);
}

// (A version still starting with B, and slots past a short answer, are seen in the queries above and end to end;
// the bounds of the answer's texts in the decoder mutation run.)
TEST(TargetInfoRules, AnIVersionIsStillStarting) {
    TargetInfo t;
    for (int k = 0; k < 8; ++k) t.slotVersions[k] = "0100";
    t.slotVersions[7] = "I0000X";
    EXPECT_EQ(t.versionsValid(), 0);
}

}  // namespace
}  // namespace tarnwick::test
