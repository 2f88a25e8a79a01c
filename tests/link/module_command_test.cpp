// The network module's command dialogue: what counts as the awaited text, the bytes of
// each command, its retransmissions, codes and the one report.
#include "support/drip_transport.h"
#include "support/link_fixture.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using ModuleCommands = LinkTest;

TEST_F(ModuleCommands, AwaitedTextStartsALine) {
    const struct { std::string sent; const char* expected; uint32_t gapSeconds; AwaitResult result; } cases[] = {
        {"okay", "ok", 0, AwaitResult::Arrived},
        {"not ok", "ok", 0, AwaitResult::Silence},
        {"no\nok", "ok", 0, AwaitResult::Arrived},
        {"o\rok", "ok", 0, AwaitResult::Arrived},
        {"\r\n# ", ">", 0, AwaitResult::Silence},
        {"\r\n> ", ">", 0, AwaitResult::Arrived},
        {"xxstart tftp client", "start tftp client", 0, AwaitResult::Silence},
        {"OK", "ok", 0, AwaitResult::Silence},
        // The allowed silence is between two bytes, not for the whole text.
        {"xx\rok", "ok", 299, AwaitResult::Arrived},
        {"xok", "ok", 301, AwaitResult::Silence},
        // A one-character prompt counts anywhere in its line.
        {"BL>#", ">", 0, AwaitResult::Arrived},
    };
    for (const auto& c : cases) {
        DripTransport drip(clock, c.gapSeconds * 1000);
        drip.feed(bytesOf(c.sent));
        TargetLink module(drip, clock);
        EXPECT_EQ(module.awaitText(c.expected, 300s), c.result) << c.sent;
    }
    wire.failReads = true;
    wire.feed(bytesOf("o"));
    EXPECT_EQ(link->awaitText("ok", 5s), AwaitResult::ReadFailed);
}

TEST_F(ModuleCommands, CommandsRetransmissionsAndReports) {
    using Run = ErrorCode (*)(TargetLink&);
    const Run boot = [](TargetLink& l) { return l.startBootloader(7); };
    const Run image = [](TargetLink& l) { return l.startImage(7); };
    std::string progress;  // an erase that reports its blocks
    while (progress.size() < 72000) progress += "erasing block\r\n";
    const char* const kBoot = "Reboot(Bootloader Mode)...";
    const std::vector<std::string> kClosed(5, "x");  // bytes that the failing read cannot take
    const struct {
        const char* name;
        Run run;
        std::vector<std::string> answers;  // one per write
        bool closed;                       // the module closed the connection: reads fail
        bool probed;                       // "\r\n" went first
        std::string command;
        size_t sends;
        ErrorCode result;
        uint32_t reportedProcess;  // 0: no report
        uint64_t waitedMs;
        const char* status;  // nullptr: none
    } cases[] = {
        {"boot loader running", boot, {"\r\n# "}, false, true, "", 0, ErrorCode::None, 0, 0, kBoot},
        {"boot loader started", boot, {"\r\n> ", "", "ok\r\n"}, false, true, "start bootloader\r\n", 2, ErrorCode::None, 0,
         5000 + 300000, kBoot},
        {"boot loader silent", boot, {}, false, true, "start bootloader\r\n", 4, ErrorCode::Timeout, kProcSwitch,
         5000 + 4 * 300000, kBoot},
        {"image, connection closed", image, kClosed, true, true, "start image\r\n", 4, ErrorCode::Retry, 0, 0,
         "Reboot(Application Mode)..."},
        {"erase image", [](TargetLink& l) { return l.eraseImage(7); }, {"ok\r\n# "}, false, false, "erase image\r\n", 1,
         ErrorCode::None, 0, 0, "Erasing(Image)..."},
        {"erase web page silent", [](TargetLink& l) { return l.eraseWebPage(7); }, {}, false, false,
         "erase webpage\r\n", 4, ErrorCode::Timeout, kProcUpdate, 4 * 30000, "Erasing(Web Page)..."},
        {"update image", [](TargetLink& l) { return l.updateImage(7); }, {"start tftp client\r\n"}, false, false,
         "update image\r\n", 1, ErrorCode::None, 0, 0, nullptr},
        {"update web page, connection closed", [](TargetLink& l) { return l.updateWebPage(7); }, kClosed, true, false,
         "update webpage\r\n", 4, ErrorCode::Retry, kProcUpdate, 0, nullptr},
    };
    for (const auto& c : cases) {
        wire.writes.clear();
        wire.incoming.clear();
        wire.failReads = c.closed;
        owner = {};
        clock.now = 0;
        std::vector<std::vector<uint8_t>> answers;
        for (const auto& a : c.answers) answers.push_back(bytesOf(a));
        answerInTurn(answers);
        EXPECT_EQ(c.run(*link), c.result) << c.name;
        std::vector<std::string> expected(c.sends, c.command), written;
        if (c.probed) expected.insert(expected.begin(), "\r\n");
        for (const auto& w : wire.writes) written.emplace_back(w.begin(), w.end());
        EXPECT_EQ(written, expected) << c.name;
        EXPECT_EQ(clock.now, c.waitedMs) << c.name;
        EXPECT_EQ(owner.statuses.size(), c.status ? 1u : 0u) << c.name;
        for (const auto& st : owner.statuses) EXPECT_EQ(st.text, c.status) << c.name;
        ASSERT_EQ(owner.linkErrors.size(), c.reportedProcess ? 1u : 0u) << c.name;
        for (const ErrorRecord& r : owner.linkErrors) {
            EXPECT_EQ((std::array<uint32_t, 4>{r.targetId, r.errorCode, r.processCode, r.progress}),
                      (std::array<uint32_t, 4>{7, numberOf(c.result), c.reportedProcess, 0})) << c.name;
        }
    }
}

TEST_F(ModuleCommands, FailedSendEndsAtOnceAndOkIsAwaitedOnce) {
    wire.failWrites = true;
    EXPECT_EQ(link->eraseImage(9), ErrorCode::Comm);
    EXPECT_EQ(clock.now, 0u);
    wire.failWrites = false;
    EXPECT_FALSE(link->awaitOk(9));
    EXPECT_EQ(clock.now, 60000u);
    std::vector<std::pair<uint32_t, uint32_t>> reports;  // error and process code, the write's then the wait's
    for (const ErrorRecord& r : owner.linkErrors) reports.emplace_back(r.errorCode, r.processCode);
    EXPECT_EQ(reports, (std::vector<std::pair<uint32_t, uint32_t>>{{numberOf(ErrorCode::Comm), kProcUpdate},
                                                                    {numberOf(ErrorCode::Comm), kProcUpdate}}));
    wire.feed(bytesOf("\r\nok\r\n# "));
    EXPECT_TRUE(link->awaitOk(9));
}

}  // namespace
}  // namespace tarnwick::test
