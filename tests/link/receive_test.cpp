// The frame receivers byte by byte, and what is read out of a received frame.
#include <fstream>
#include <functional>

#include "support/link_fixture.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using R = ReceiveResult;

std::vector<uint8_t> withChecksum(std::vector<uint8_t> f) {
    f.push_back(frameChecksum(f.data(), f.size()));
    return f;
}

using ReceiveFrame = LinkTest;

TEST_F(ReceiveFrame, OneFrameEachAndNothingLeftOver) {
    const struct { const char* name; std::vector<uint8_t> bytes; R result; uint8_t productCode; } cases[] = {
        {"noise before the start byte", {0x55, 0xAA, 'A', 0x01, 0xEC}, R::Ack, 0},  // 0xEC: the sum of the bytes
        {"error frame", withChecksum({0xAA, 'E', 0x01, 0xEC}), R::ErrorReply, 0xEC},
        {"wrong checksum", {0xAA, 'A', 0x01, 0x00}, R::BadChecksum, 0},  // the product's code goes with it
        {"unknown letter", buildFrame('Z', 0x01), R::BadFrame, 0},
        {"other target", withChecksum({0xAA, 'E', 0x02, 0xE5}), R::BadFrame, 0xE5},  // read to its end
    };
    for (const auto& c : cases) {
        wire.feed(c.bytes);
        EXPECT_EQ(link->receiveFrame(0x01, 5s), c.result) << c.name;
        EXPECT_TRUE(wire.incoming.empty()) << c.name;
        EXPECT_EQ(link->lastErrorCode(), c.productCode) << c.name;
    }
    wire.feed({0xAA});
    wire.failReads = true;
    EXPECT_EQ(link->receiveFrame(0x01, 5s), R::ReadFailed);
}

TEST_F(ReceiveFrame, SilenceTimesOutAfterTheWholeWait) {
    const std::tuple<R (TargetLink::*)(uint8_t, std::chrono::seconds), std::chrono::seconds, uint64_t> cases[] = {
        {&TargetLink::receiveFrame, 5s, 5000},
        {&TargetLink::receiveFrame, 601s, 60000},  // above 600 s counts as 60 s
        {&TargetLink::receiveInfoFrame, 181s, 60000},
    };
    for (const auto& [receive, wait, waited] : cases) {
        clock.now = 0;
        EXPECT_EQ(((*link).*receive)(0x01, wait), R::TimedOut);
        EXPECT_EQ(clock.now, waited) << wait.count();
    }
}

// A product that never stops sending junk (its pattern over and over), a byte a
// millisecond; after 8 MiB its reads fail, so that a receive without an overall bound
// ends there instead of hanging.
class Chatter final : public Transport {
public:
    Chatter(VirtualClock& clock, std::string pattern) : clock_(clock), pattern_(std::move(pattern)) {}
    uint64_t sent = 0;
    int write(const uint8_t*, size_t) override { return 1; }
    int read(uint8_t* bytes, size_t count) override {
        if (sent >= 8 * kDiscardLimit) return 0;
        for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(pattern_[(sent + i) % pattern_.size()]);
        sent += count;
        clock_.now += count;
        return 1;
    }
    uint32_t bytesWaiting() override { return 1; }
    int purge() override { return 1; }
    int close() override { return 1; }
    NativeHandle waitHandle() const override { return kNoHandle; }

private:
    VirtualClock& clock_;
    std::string pattern_;
};

TEST(ChatteringProduct, EndsEveryWaitAsSilenceWouldWithinItsBudget) {
    const struct {
        const char* name;
        std::function<bool(TargetLink&)> timedOut;
        uint64_t atMostMs;
        const char* pattern = "U";
    } cases[] = {
        {"frame", [](TargetLink& l) { return l.receiveFrame(0x01, 10s) == R::TimedOut; }, kDiscardLimit},
        {"info frame", [](TargetLink& l) { return l.receiveInfoFrame(0x01, 2s) == R::TimedOut; }, kDiscardLimit},
        {"line", [](TargetLink& l) { return l.readLine("RBSTART", 1s) == ErrorCode::Timeout; }, kDiscardLimit},
        {"connect, four attempts", [](TargetLink& l) { return !l.connectTarget(0x01, 5s); }, 4 * kDiscardLimit},
        {"module answer", [](TargetLink& l) { return l.awaitText("ok", 5s) == AwaitResult::TooLong; }, kDiscardLimit,
         "no\r\n"},
    };
    test::TempDir scratch{"tarnwick-chatter"};
    for (const auto& c : cases) {
        VirtualClock clock;
        Chatter wire(clock, c.pattern);
        TargetLink link(wire, clock);
        ASSERT_TRUE(link.setTrace(scratch.file("trace.txt")));
        EXPECT_TRUE(c.timedOut(link)) << c.name;
        EXPECT_LE(clock.now, c.atMostMs + 8) << c.name;
        EXPECT_LE(wire.sent, c.atMostMs + 8) << c.name;
        EXPECT_TRUE(link.setTrace(""));
        std::ifstream trace(scratch.file("trace.txt"));
        for (std::string line; std::getline(trace, line);) {
            if (line.find(" RX ") != std::string::npos) { EXPECT_LE(line.size(), 14 + 3 * kPendingLimit) << line; }
        }
    }
}

using StoreData = LinkTest;

TEST_F(StoreData, NeverPastSixteenMebibytesOrWhatArrived) {
    std::vector<uint8_t> buffer(kReadBackBufferSize + 64, 0xEE);
    uint32_t position = kReadBackBufferSize - 10;
    // Receives one data frame (whatever the receiver made of it) and stores it.
    auto receiveAndStore = [&](const std::vector<uint8_t>& frame, uint8_t id) {
        wire.feed(frame);
        (void)link->receiveFrame(id, 5s);
        return link->storeData(buffer.data(), position);
    };
    std::vector<uint8_t> data(100, 0x5A);
    ASSERT_TRUE(receiveAndStore(buildDataFrame('P', 0x01, 2, 0, data.data(), 100), 0x01));
    EXPECT_EQ(position, kReadBackBufferSize);
    EXPECT_EQ(buffer[kReadBackBufferSize - 1], 0x5A);
    EXPECT_EQ(buffer[kReadBackBufferSize], 0xEE);
    // Target 0x11 takes at most 267-byte frames; this one declares 2000 data bytes.
    position = 0;
    wire.feed({0xAA, 'P', 0x11, 0, 0x07, 0xD0, 0, 0, 0, 0});
    ASSERT_TRUE(receiveAndStore(std::vector<uint8_t>(2000, 0x42), 0x11));
    EXPECT_EQ(link->rxLength(), 267u);
    EXPECT_EQ(position, 257u);
    EXPECT_EQ(buffer[256], 0x42);
    EXPECT_EQ(buffer[257], 0xEE);
}

}  // namespace
}  // namespace tarnwick::test
