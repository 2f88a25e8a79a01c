// The simulated product's answers, byte for byte, without a pseudo-terminal.
#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim_engine.h"

namespace tarnwick::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes text(const std::string& s) { return {s.begin(), s.end()}; }

class SimEngineTest : public ::testing::Test {
protected:
    SimConfig config;
    std::unique_ptr<SimEngine> engine;
    void start() { engine = std::make_unique<SimEngine>(config); }
    Bytes send(const Bytes& b) { return engine->feed(b.data(), b.size()); }
};

TEST_F(SimEngineTest, NormalModeSpeaksTextOnlyAndRebootsIntoUpdateMode) {
    start();
    EXPECT_TRUE(send(buildFrame('C', 0x01)).empty());
    EXPECT_EQ(send(text("SYPKG 12AB\r")), text("SYPKG 12AB\r"));
    EXPECT_EQ(engine->packageId(), "12AB");
    EXPECT_EQ(send(text("\nRBUPDATE\r")), text("RBSTART\r"));
    EXPECT_EQ(engine->mode(), ProductMode::Update);
    EXPECT_TRUE(send(text("VIALL?\r")).empty());
    EXPECT_EQ(send(buildFrame('C', 0x01)), buildFrame('C', 0x01));
    EXPECT_EQ(send(text("RBNORM\r")), text("RBSTART\r"));
    EXPECT_EQ(engine->mode(), ProductMode::Normal);
    EXPECT_EQ(engine->events(), (std::vector<std::string>{"text SYPKG 12AB", "text RBUPDATE", "text VIALL?",
                                                          "frame C 01", "text RBNORM"}));
}

TEST_F(SimEngineTest, FramesSplitAcrossFeedsAndBadChecksumsAreRefused) {
    config.startInUpdateMode = true;
    start();
    Bytes x = buildFrame('X', 0x01, {0x11, 0});
    EXPECT_TRUE(send(Bytes(x.begin(), x.begin() + 3)).empty());
    EXPECT_EQ(send(Bytes(x.begin() + 3, x.end())), buildFrame('A', 0x01));
    EXPECT_EQ(engine->activeTarget(), 0x11);
    EXPECT_EQ(send({0xAA, 'C', 0x01, 0x00}), buildFrame('N', 0x01));
}

TEST_F(SimEngineTest, ReadBackSendsBlocksOnAcknowledgementAndRepeatsOnNak) {
    config.startInUpdateMode = true;
    start();
    Bytes data(300, 0x33);
    send(buildDataFrame('P', 0x12, 3, 0x100, data.data(), 300));
    Bytes out = send(buildFrame('S', 0x12, {0, 0, 0, 1, 0, 0, 0, 0x02, 0x2B}));  // 0x100..0x22B
    Bytes ack = buildFrame('A', 0x12);
    ASSERT_GT(out.size(), ack.size());
    EXPECT_TRUE(std::equal(ack.begin(), ack.end(), out.begin()));
    Bytes first(out.begin() + 4, out.end());
    EXPECT_EQ(first, buildDataFrame('P', 0x12, 1, 0x100, data.data(), 256));
    EXPECT_EQ(send(buildFrame('N', 0x12)), first);
    EXPECT_EQ(send(ack), buildDataFrame('P', 0x12, 3, 0x200, data.data(), 44));
    EXPECT_TRUE(send(ack).empty());
    // A backup read (mode 1) of a short range comes as one 'D' frame.
    out = send(buildFrame('S', 0x12, {1, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(Bytes(out.begin() + 4, out.end()), buildDataFrame('D', 0x12, 0, 0x100, data.data(), 1));
}

TEST_F(SimEngineTest, ScriptedFaultsSkipThenHitTheirCount) {
    config.startInUpdateMode = true;
    config.faults.push_back({FaultKind::Nak, 'C', 0xFF, 1, 2});
    config.faults.push_back({FaultKind::Error, 'X', 0x01, 0, 1, 0xE1});
    config.faults.push_back({FaultKind::BadChecksum, 'I', 0xFF, 0, 1});
    config.absentTargets.insert(0x40);
    start();
    Bytes c = buildFrame('C', 0x01);
    EXPECT_EQ(send(c), c);
    EXPECT_EQ(send(c), buildFrame('N', 0x01));
    EXPECT_EQ(send(c), buildFrame('N', 0x01));
    EXPECT_EQ(send(c), c);
    EXPECT_EQ(send(buildFrame('X', 0x01, {0x02, 0})), buildFrame('E', 0x01, {0xE1}));
    EXPECT_EQ(send(buildFrame('X', 0x01, {0x40, 0})), buildFrame('N', 0x01));
    EXPECT_TRUE(send(buildFrame('C', 0x40)).empty());
    Bytes info = send(buildFrame('I', 0x01, Bytes(8, 0)));
    ASSERT_EQ(info.size(), 18u);
    EXPECT_NE(info.back(), frameChecksum(info.data(), 17));
}

TEST_F(SimEngineTest, InfoAnswerCarriesModelCodeAndTheChosenChecksum) {
    config.startInUpdateMode = true;
    config.modelCode = 0x1234;
    config.infoKinds[0x15] = InfoKind::StatusWord;
    config.statusFailed.insert(0x16);
    config.infoKinds[0x16] = InfoKind::StatusWord;
    start();
    Bytes data{1, 2, 3, 250};
    send(buildDataFrame('P', 0x01, 3, 0x10, data.data(), 4));
    Bytes a = send(buildFrame('I', 0x01, {0, 0, 0, 0x10, 0, 0, 0, 0x13}));
    EXPECT_EQ(readBe32(&a[3]), 0x1234u);
    EXPECT_EQ(readBe32(&a[13]), 256u);
    EXPECT_EQ(readBe32(&send(buildFrame('I', 0x15, Bytes(8, 0)))[13]) >> 16, 0x4F4Bu);
    EXPECT_EQ(readBe32(&send(buildFrame('I', 0x16, Bytes(8, 0)))[13]) >> 16, 0x4E47u);
}

}  // namespace
}  // namespace tarnwick::sim
