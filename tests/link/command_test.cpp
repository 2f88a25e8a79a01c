// The command frames: bytes on the wire, retries, waits and the one error report.
#include <functional>

#include "support/link_fixture.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using CommandFrames = LinkTest;

// Against a silent product every command is tried four times; the wait of an attempt,
// the purges and the process code of the report depend on the operation.
TEST_F(CommandFrames, SilenceGivesFourAttemptsAndOneTimeoutReport) {
    // Each send is true when the operation ended as a failure (a time-out where it names one).
    using Send = std::function<bool(TargetLink&)>;
    const struct { const char* name; Send failed; uint32_t waited; int purges; uint32_t process; } cases[] = {
        {"connect", [](TargetLink& l) { return !l.connectTarget(0x01, 3s); }, 4 * 3000, 4, kProcConnect},
        // Erase waits 10 s an attempt; with a nonzero mode it is a backup step.
        {"erase", [](TargetLink& l) { return l.erase(0x01, 1, 0, 0, 0) == ErrorCode::Timeout; }, 40000, 0,
         kProcSendBackup},
        {"read", [](TargetLink& l) { return l.requestRead(0x01, 2, 0, 0) == ErrorCode::Timeout; }, 20000, 0,
         kProcReceiveBackup},
        {"info 14", [](TargetLink& l) { return !l.requestInfo(0x14, 0, 0, 1); }, 4 * 180000, 4, kProcRequestInfo},
        {"info 12", [](TargetLink& l) { return !l.requestInfo(0x12, 0, 0, 1); }, 4 * 60000, 4, kProcRequestInfo},
        {"info 2A", [](TargetLink& l) { return !l.requestInfo(0x2A, 0, 0, 1); }, 4 * 10000, 4, kProcRequestInfo},
    };
    for (const auto& c : cases) {
        clock.now = 0;
        wire.purges = 0;
        owner.linkErrors.clear();
        EXPECT_TRUE(c.failed(*link)) << c.name;
        EXPECT_EQ(clock.now, c.waited) << c.name;
        EXPECT_EQ(wire.purges, c.purges) << c.name;
        ASSERT_EQ(owner.linkErrors.size(), 1u) << c.name;
        const ErrorRecord& r = owner.linkErrors[0];
        EXPECT_EQ((std::array<uint32_t, 3>{r.targetId, r.errorCode, r.processCode}),
                  (std::array<uint32_t, 3>{wire.writes.back()[2], numberOf(ErrorCode::Timeout), c.process})) << c.name;
    }
}

TEST_F(CommandFrames, ErrorFrameEndsAtOnceWithTheProductsCodeKept) {
    answerAlways(buildFrame('E', 0x01, {0xEB}));
    EXPECT_EQ(link->erase(0x01, 0, 0x0102, 0x1000, 0x1FFF), ErrorCode::ProductError);
    EXPECT_EQ(wire.writes.size(), 1u);
    EXPECT_EQ(link->lastErrorCode(), 0xEB);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcUpdate);
}

TEST_F(CommandFrames, EraseReadAndInfoRequestLayouts) {
    answerAlways(buildFrame('A', 0x15));
    EXPECT_EQ(link->erase(0x15, 0, 0x0102, 0x00010000, 0x0001FFFF), ErrorCode::None);
    EXPECT_EQ(wire.writes.back(),
              buildFrame('L', 0x15, {0, 0x01, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF}));
    EXPECT_EQ(link->requestRead(0x15, 0, 0x10, 0x20), ErrorCode::None);
    EXPECT_EQ(wire.writes.back(), buildFrame('S', 0x15, {0, 0, 0, 0, 0x10, 0, 0, 0, 0x20}));
    std::vector<uint8_t> params(14, 0);
    params[3] = 0x42;
    answerAlways(buildFrame('I', 0x01, params));
    EXPECT_TRUE(link->requestInfo(0x01, 0x00100000, 0x001FFFFF, 4));
    EXPECT_EQ(wire.writes.back(), buildFrame('I', 0x01, {0x00, 0x10, 0x00, 0x00, 0x00, 0x1F, 0xFF, 0xFF}));
    EXPECT_EQ(link->infoAnswer(4).value, 0x42u);
}

TEST_F(CommandFrames, LastAttemptDecidesBetweenTimeoutAndRetryError) {
    auto bad = buildFrame('N', 0x01);
    answerInTurn({bad, bad, bad});  // then silence: a time-out
    EXPECT_EQ(link->switchTarget(0x01, 0x10, 0), ErrorCode::Timeout);
    answerInTurn({{}, {}, {}, bad});  // silence, then a wrong answer: a retry error
    EXPECT_EQ(link->switchTarget(0x01, 0x10, 0), ErrorCode::Retry);
}

TEST_F(CommandFrames, FailedWriteEndsWithoutRetry) {
    wire.failWrites = true;
    EXPECT_EQ(link->switchTarget(0x01, 0x02, 0), ErrorCode::Comm);
    EXPECT_EQ(clock.now, 0u);
    EXPECT_EQ(owner.linkErrors.back().errorCode, numberOf(ErrorCode::Comm));
    EXPECT_FALSE(link->connectTarget(0x01, 5s));
    EXPECT_EQ(owner.linkErrors.size(), 2u);
}

}  // namespace
}  // namespace tarnwick::test
