// The command frames: bytes on the wire, retries, waits and the one error report.
#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

using CommandFrames = LinkTest;

TEST_F(CommandFrames, ConnectAgainstSilenceSendsFourTimesAndReportsTimeout) {
    EXPECT_EQ(link->connectTarget(0x01, 3), 0);
    auto sent = wire->framesWith('C');
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], (std::vector<uint8_t>{0xAA, 0x43, 0x01, 0xEE}));
    EXPECT_EQ(wire->purges, 4);
    EXPECT_EQ(owner.pumps, 3);
    EXPECT_EQ(clock.now, 4u * 3000u);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].targetId, 0x01u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrTimeout);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcConnect);
}

TEST_F(CommandFrames, ConnectSucceedsOnTheReply) {
    answerAlways(buildFrame('C', 0x01));
    EXPECT_EQ(link->connectTarget(0x01, 5), 1);
    EXPECT_TRUE(owner.linkErrors.empty());
}

TEST_F(CommandFrames, SwitchAnsweredWithNakFourTimesIsARetryError) {
    answerAlways(buildFrame('N', 0x01));
    EXPECT_EQ(link->switchTarget(0x01, 0x02, 0), static_cast<int>(kErrRetry));
    auto sent = wire->framesWith('X');
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], buildFrame('X', 0x01, {0x02, 0x00}));
    EXPECT_EQ(wire->purges, 0);
    ASSERT_FALSE(owner.statuses.empty());
    EXPECT_EQ(owner.statuses[0].text, "Switching(ID:01 -> ID:02)...");
    EXPECT_EQ(owner.statuses[0].targetId, 0x01);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrRetry);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcSwitch);
}

TEST_F(CommandFrames, ErrorFrameEndsAtOnceWithTheProductsCodeKept) {
    auto e = buildFrame('E', 0x01, {0xEB});
    answerAlways(e);
    EXPECT_EQ(link->erase(0x01, 0, 0x0102, 0x1000, 0x1FFF), static_cast<int>(kErrReply));
    EXPECT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(link->lastErrorCode(), 0xEB);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcUpdate);
}

TEST_F(CommandFrames, EraseAndReadRequestLayouts) {
    answerAlways(buildFrame('A', 0x15));
    EXPECT_EQ(link->erase(0x15, 0, 0x0102, 0x00010000, 0x0001FFFF), 0);
    EXPECT_EQ(wire->writes.back(),
              buildFrame('L', 0x15, {0, 0x01, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF}));
    EXPECT_EQ(link->requestRead(0x15, 0, 0x10, 0x20), 0);
    EXPECT_EQ(wire->writes.back(), buildFrame('S', 0x15, {0, 0, 0, 0, 0x10, 0, 0, 0, 0x20}));
}

TEST_F(CommandFrames, WaitsAndProcessCodesByOperation) {
    // Erase waits 10 s an attempt; with a nonzero mode it is a backup step.
    EXPECT_EQ(link->erase(0x01, 1, 0, 0, 0), static_cast<int>(kErrTimeout));
    EXPECT_EQ(clock.now, 40000u);
    EXPECT_EQ(owner.linkErrors.back().processCode, kProcSendBackup);
    clock.now = 0;
    EXPECT_EQ(link->requestRead(0x01, 2, 0, 0), static_cast<int>(kErrTimeout));
    EXPECT_EQ(clock.now, 20000u);
    EXPECT_EQ(owner.linkErrors.back().processCode, kProcReceiveBackup);
    clock.now = 0;
    EXPECT_EQ(link->requestInfo(0x14, 0, 0, 1), 0);
    EXPECT_EQ(clock.now, 4u * 180000u);
    EXPECT_EQ(owner.linkErrors.back().processCode, kProcRequestInfo);
    clock.now = 0;
    link->requestInfo(0x12, 0, 0, 1);
    EXPECT_EQ(clock.now, 4u * 60000u);
    clock.now = 0;
    link->requestInfo(0x2A, 0, 0, 1);
    EXPECT_EQ(clock.now, 4u * 10000u);
    EXPECT_EQ(wire->purges, 12);
}

TEST_F(CommandFrames, LastAttemptDecidesBetweenTimeoutAndRetryError) {
    // Three bad answers, then silence: a time-out.
    auto bad = buildFrame('N', 0x01);
    answerInTurn({bad, bad, bad});
    EXPECT_EQ(link->switchTarget(0x01, 0x10, 0), static_cast<int>(kErrTimeout));
    // Silence three times, then a wrong answer: a retry error.
    answerInTurn({{}, {}, {}, bad});
    EXPECT_EQ(link->switchTarget(0x01, 0x10, 0), static_cast<int>(kErrRetry));
}

TEST_F(CommandFrames, RequestInfoSendsBothValuesAndSucceedsOnTheAnswer) {
    std::vector<uint8_t> params(14, 0);
    params[3] = 0x42;
    answerAlways(buildFrame('I', 0x01, params));
    EXPECT_EQ(link->requestInfo(0x01, 0x00100000, 0x001FFFFF, 4), 1);
    EXPECT_EQ(wire->writes.back(), buildFrame('I', 0x01, {0x00, 0x10, 0x00, 0x00, 0x00, 0x1F, 0xFF, 0xFF}));
    EXPECT_EQ(link->infoAnswer(4).value, 0x42u);
}

TEST_F(CommandFrames, FailedWriteEndsWithoutRetry) {
    wire->failWrites = true;
    EXPECT_EQ(link->switchTarget(0x01, 0x02, 0), static_cast<int>(kErrComm));
    EXPECT_EQ(clock.now, 0u);
    EXPECT_EQ(owner.linkErrors.back().errorCode, kErrComm);
    EXPECT_EQ(link->connectTarget(0x01, 5), 0);
    EXPECT_EQ(owner.linkErrors.size(), 2u);
}

TEST_F(CommandFrames, WithoutAnOwnerTheLinkIsSilent) {
    link->setOwner(nullptr);
    EXPECT_EQ(link->connectTarget(0x01, 1), 0);
    EXPECT_TRUE(owner.linkErrors.empty());
}

}  // namespace
}  // namespace tarnwick::test
