// The network module's command dialogue: what counts as the awaited text, the bytes of
// each command, its retransmissions, codes and the one report.
#include <functional>

#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

using ModuleCommands = LinkTest;

// A module that sends its text one byte every gapMs of virtual time.
class DripTransport : public MemoryTransport {
public:
    DripTransport(VirtualClock& clock, uint64_t gapMs) : clock_(clock), gapMs_(gapMs), next_(clock.now + gapMs) {}
    uint32_t bytesWaiting() override { return clock_.now >= next_ ? MemoryTransport::bytesWaiting() : 0; }
    int read(uint8_t* bytes, size_t count) override {
        next_ = clock_.now + gapMs_;
        return MemoryTransport::read(bytes, count);
    }

private:
    VirtualClock& clock_;
    uint64_t gapMs_, next_;
};

TEST_F(ModuleCommands, AwaitedTextStartsALine) {
    const struct { std::string sent; const char* expected; uint32_t gapSeconds; int result; } cases[] = {
        {"okay", "ok", 0, kAwaitArrived},
        {"not ok", "ok", 0, kAwaitSilence},
        {"no\nok", "ok", 0, kAwaitArrived},
        {"o\rok", "ok", 0, kAwaitArrived},
        {"\r\n# ", ">", 0, kAwaitSilence},
        {"\r\n> ", ">", 0, kAwaitArrived},
        {"xxstart tftp client", "start tftp client", 0, kAwaitSilence},
        {"OK", "ok", 0, kAwaitSilence},
        // The allowed silence is between two bytes, not for the whole text.
        {"xx\rok", "ok", 299, kAwaitArrived},
        {"xok", "ok", 301, kAwaitSilence},
        {std::string(1033, 'x') + "\rok", "ok", 0, kAwaitArrived},
        {std::string(1034, 'x') + "\rok", "ok", 0, kAwaitTooLong},
    };
    for (const auto& c : cases) {
        auto transport = std::make_unique<DripTransport>(clock, c.gapSeconds * 1000);
        transport->feed(bytesOf(c.sent));
        TargetLink module(std::move(transport), clock);
        EXPECT_EQ(module.awaitText(c.expected, 300), c.result) << c.sent;
    }
    wire->failReads = true;
    wire->feed(bytesOf("o"));
    EXPECT_EQ(link->awaitText("ok", 5), kAwaitReadFailed);
}

TEST_F(ModuleCommands, CommandsRetransmissionsAndReports) {
    using Run = std::function<int(TargetLink&)>;
    const std::vector<uint8_t> kSilent;
    const std::vector<uint8_t> kClosed = {'x'};  // a byte the failing read cannot take
    const struct {
        const char* name;
        Run run;
        std::vector<std::vector<uint8_t>> answers;  // one per write
        bool closed;                                // the module closed the connection: reads fail
        std::vector<std::string> written;
        int result;
        uint32_t reportedProcess;  // 0: no report
        uint64_t waitedMs;
    } cases[] = {
        {"boot loader already running", [](TargetLink& l) { return l.startBootloader(7); }, {bytesOf("\r\n# ")}, false,
         {"\r\n"}, 0, 0, 0},
        {"boot loader started", [](TargetLink& l) { return l.startBootloader(7); },
         {bytesOf("\r\n> "), kSilent, bytesOf("ok\r\n")}, false, {"\r\n", "start bootloader\r\n", "start bootloader\r\n"}, 0, 0,
         5000 + 300000},
        {"boot loader silent", [](TargetLink& l) { return l.startBootloader(7); }, {}, false,
         {"\r\n", "start bootloader\r\n", "start bootloader\r\n", "start bootloader\r\n", "start bootloader\r\n"},
         kErrTimeout, kProcSwitch, 5000 + 4 * 300000},
        {"image, connection closed", [](TargetLink& l) { return l.startImage(7); }, {kClosed, kClosed, kClosed, kClosed, kClosed},
         true, {"\r\n", "start image\r\n", "start image\r\n", "start image\r\n", "start image\r\n"}, kErrRetry, 0, 0},
        {"erase image", [](TargetLink& l) { return l.eraseImage(7); }, {bytesOf("ok\r\n# ")}, false,
         {"erase image\r\n"}, 0, 0, 0},
        {"erase web page silent", [](TargetLink& l) { return l.eraseWebPage(7); }, {}, false,
         {"erase webpage\r\n", "erase webpage\r\n", "erase webpage\r\n", "erase webpage\r\n"}, kErrTimeout,
         kProcUpdate, 4 * 30000},
        {"update boot loader", [](TargetLink& l) { return l.updateBootloader(7); }, {bytesOf("start tftp client\r\n")}, false,
         {"update bootloader\r\n"}, 0, 0, 0},
        {"update image", [](TargetLink& l) { return l.updateImage(7); }, {bytesOf("start tftp client\r\n")}, false,
         {"update image\r\n"}, 0, 0, 0},
        {"update image cne", [](TargetLink& l) { return l.updateImageCne(7); }, {bytesOf("start tftp client\r\n")}, false,
         {"update image cne\r\n"}, 0, 0, 0},
        {"update web page, connection closed", [](TargetLink& l) { return l.updateWebPage(7); },
         {kClosed, kClosed, kClosed, kClosed}, true,
         {"update webpage\r\n", "update webpage\r\n", "update webpage\r\n", "update webpage\r\n"}, kErrRetry,
         kProcUpdate, 0},
    };
    for (const auto& c : cases) {
        wire->writes.clear();
        owner = {};
        clock.now = 0;
        wire->failReads = c.closed;
        wire->incoming.clear();
        answerInTurn(c.answers);
        EXPECT_EQ(c.run(*link), c.result) << c.name;
        std::vector<std::string> written;
        for (const auto& w : wire->writes) written.emplace_back(w.begin(), w.end());
        EXPECT_EQ(written, c.written) << c.name;
        EXPECT_EQ(clock.now, c.waitedMs) << c.name;
        ASSERT_EQ(owner.linkErrors.size(), c.reportedProcess ? 1u : 0u) << c.name;
        if (c.reportedProcess) {
            const ErrorRecord r = owner.linkErrors[0];
            EXPECT_EQ(std::vector<uint32_t>({r.targetId, r.errorCode, r.processCode, r.progress}),
                      std::vector<uint32_t>({7, static_cast<uint32_t>(c.result), c.reportedProcess, 0}))
                << c.name;
        }
    }
}

TEST_F(ModuleCommands, StatusLinesOfTheModeSwitchesAndErases) {
    answerAlways(bytesOf("ok\r\n> \r\nstart tftp client\r\n"));
    link->startImage(1);
    link->startBootloader(2);
    link->eraseImage(3);
    link->eraseWebPage(4);
    link->updateImage(5);
    std::vector<std::string> texts;
    for (const auto& s : owner.statuses) texts.push_back(s.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Reboot(Application Mode)...", "Reboot(Bootloader Mode)...",
                                               "Erasing(Image)...", "Erasing(Web Page)..."}));
}

TEST_F(ModuleCommands, FailedSendEndsAtOnceAndOkIsAwaitedOnce) {
    wire->failWrites = true;
    EXPECT_EQ(link->eraseImage(9), static_cast<int>(kErrComm));
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrComm);
    EXPECT_EQ(clock.now, 0u);
    wire->failWrites = false;
    owner = {};
    EXPECT_EQ(link->awaitOk(9), 0);
    EXPECT_EQ(clock.now, 60000u);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrComm);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcUpdate);
    wire->feed(bytesOf("\r\nok\r\n# "));
    EXPECT_EQ(link->awaitOk(9), 1);
}

}  // namespace
}  // namespace tarnwick::test
