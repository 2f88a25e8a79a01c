// What the protocol does differently over a TCP connection, in virtual time.
#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

// A product that acknowledges every frame, each answer arriving delayMs after the frame.
struct LateProduct : MemoryTransport {
    LateProduct(VirtualClock& c, uint64_t d) : clock(c), delayMs(d) {}
    int write(const uint8_t* bytes, size_t count) override {
        due.push_back({clock.now + delayMs, buildFrame('A', bytes[2])});
        return MemoryTransport::write(bytes, count);
    }
    uint32_t bytesWaiting() override {
        for (; !due.empty() && due.front().first <= clock.now; due.erase(due.begin())) feed(due.front().second);
        return MemoryTransport::bytesWaiting();
    }
    VirtualClock& clock;
    uint64_t delayMs;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> due;
};

std::string lettersOf(const MemoryTransport& wire) {
    std::string out;
    for (const auto& w : wire.writes) out += static_cast<char>(w[1]);
    return out;
}

TEST(TcpProtocol, AnEraseAnsweredAfterSevenSecondsIsResentOnlyOverTcp) {
    const struct { const char* name; TransportTraits traits; const char* sent; } cases[] = {
        {"serial (10 s wait)", TransportTraits{}, "L"},
        {"tcp (5 s wait)", kTcpTraits, "LL"},
    };
    for (const auto& c : cases) {
        VirtualClock clock;
        LateProduct wire(clock, 7000);
        wire.traitsValue = c.traits;
        TargetLink link(wire, clock);
        EXPECT_EQ(link.erase(0x01, 0, 0x0100, 0, 0xFFFF), ErrorCode::None) << c.name;
        EXPECT_EQ(lettersOf(wire), c.sent) << c.name;
        EXPECT_EQ(clock.now, 7000u) << c.name;
    }
}

using TcpReadBack = LinkTest;

TEST_F(TcpReadBack, TwoTimeOutsSendTwoNaksBeforeTheAck) {
    wire.traitsValue = kTcpTraits;
    const uint8_t data[3] = {7, 8, 9};
    // The request is acknowledged; the data frame comes only after the second 'N'.
    answerInTurn({buildFrame('A', 0x01), {}, buildDataFrame('P', 0x01, kBlockOnly, 0x100, data, 3)});
    std::vector<uint8_t> buffer(kReadBackBufferSize);
    uint32_t count = 0;
    EXPECT_TRUE(link->readBack(0x01, 0x100, 0x102, buffer.data(), count));
    EXPECT_EQ(lettersOf(wire), "SNNA");
    EXPECT_EQ(clock.now, 2u * 5000u);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + count), std::vector<uint8_t>(data, data + 3));
    EXPECT_EQ(owner.statuses.back().text, "Verifying ...");
}

}  // namespace
}  // namespace tarnwick::test
