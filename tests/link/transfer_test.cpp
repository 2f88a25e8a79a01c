// Writing a range in blocks and reading it back, against the simulated product's engine
// or a scripted answer.
#include <numeric>

#include "sim_engine.h"
#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

class Transfer : public LinkTest {
protected:
    sim::SimConfig config = [] {
        sim::SimConfig c;
        c.startInUpdateMode = true;
        return c;
    }();
    std::unique_ptr<sim::SimEngine> product;

    void useProduct() {
        product = std::make_unique<sim::SimEngine>(config);
        wire->responder = [this](const std::vector<uint8_t>& w) { return product->feed(w.data(), w.size()); };
    }
    static std::vector<uint8_t> pattern(size_t n) {
        std::vector<uint8_t> v(n);
        for (size_t k = 0; k < n; ++k) v[k] = static_cast<uint8_t>(k * 7 + 3);
        return v;
    }
    // (block state, length, address) of every 'P' frame sent.
    std::vector<std::tuple<int, int, uint32_t>> blocks() const {
        std::vector<std::tuple<int, int, uint32_t>> out;
        for (auto& f : wire->framesWith('P')) out.emplace_back(f[3], readBe16(&f[4]), readBe32(&f[6]));
        return out;
    }
};

using B = std::tuple<int, int, uint32_t>;

TEST_F(Transfer, RangeOfOneBlockIsOneLastBlock) {
    useProduct();
    auto data = pattern(1024);
    EXPECT_EQ(link->writeData(0x01, 0x1000, 0x13FF, data.data(), 1024), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{3, 1024, 0x1000}}));
    EXPECT_EQ(product->memory(0x01, 0x1000, 0x13FF), data);
}

TEST_F(Transfer, OneByteMoreMakesAFirstAndALastBlock) {
    useProduct();
    auto data = pattern(1025);
    EXPECT_EQ(link->writeData(0x01, 0x1000, 0x1400, data.data(), 1025), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0x1000}, {3, 1, 0x1400}}));
    EXPECT_EQ(product->memory(0x01, 0x1000, 0x1400), data);
}

TEST_F(Transfer, LastBlockEndsWhereDataOrRangeEnds) {
    useProduct();
    auto data = pattern(1500);
    EXPECT_EQ(link->writeData(0x01, 0, 0xFFFF, data.data(), 1500), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0}, {3, 476, 1024}}));
    wire->writes.clear();
    EXPECT_EQ(link->writeData(0x01, 0, 1099, data.data(), 1500), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0}, {3, 76, 1024}}));
}

TEST_F(Transfer, DataEndingAtABlockBoundaryIsFollowedByAnEmptyLastBlock) {
    useProduct();
    auto data = pattern(2048);
    EXPECT_EQ(link->writeData(0x01, 0, 0xFFFF, data.data(), 2048), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0}, {2, 1024, 1024}, {3, 0, 2048}}));
    EXPECT_EQ(wire->framesWith('P').back().size(), 11u);
}

TEST_F(Transfer, BlankMiddleBlocksAreSkippedForListedTargetsAndLeftOutOfTheSum) {
    useProduct();
    // Target 0x26: blocks of 512; the middle block is blank.
    std::vector<uint8_t> data(1536, 0xFF);
    data[0] = 1;
    data[1535] = 2;
    EXPECT_EQ(link->writeData(0x26, 0, 1535, data.data(), 1536), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 512, 0}, {3, 512, 1024}}));
    uint32_t sum = std::accumulate(data.begin(), data.begin() + 512, 0u) +
                   std::accumulate(data.begin() + 1024, data.end(), 0u);
    EXPECT_EQ(link->lastWriteSum, static_cast<uint16_t>(sum));
    // The same data to target 0x01 (1024-byte blocks, with a blank middle) is all sent.
    wire->writes.clear();
    std::vector<uint8_t> wide(3072, 0xFF);
    EXPECT_EQ(link->writeData(0x01, 0, 3071, wide.data(), 3072), 0);
    EXPECT_EQ(blocks().size(), 3u);
}

TEST_F(Transfer, AResentBlockIsSummedOnce) {
    config.faults.push_back({sim::FaultKind::Nak, 'P', 0xFF, 0, 1});
    useProduct();
    auto data = pattern(600);
    EXPECT_EQ(link->writeData(0x27, 0, 599, data.data(), 600), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 512, 0}, {1, 512, 0}, {3, 88, 512}}));
    EXPECT_EQ(link->lastWriteSum, static_cast<uint16_t>(std::accumulate(data.begin(), data.end(), 0u)));
}

TEST_F(Transfer, FourBadAnswersEndWithARetryErrorAndTheProgress) {
    config.faults.push_back({sim::FaultKind::Nak, 'P', 0xFF, 2, 4});
    useProduct();
    auto data = pattern(4096);
    EXPECT_EQ(link->writeData(0x01, 0, 4095, data.data(), 4096), static_cast<int>(kErrRetry));
    EXPECT_EQ(blocks().size(), 2u + 4u);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrRetry);
    EXPECT_EQ(owner.linkErrors[0].processCode, kProcUpdate);
    EXPECT_EQ(owner.linkErrors[0].progress, 2048u * 100u / 4095u);
}

TEST_F(Transfer, StatusTextsAndWaitsOfFirstMiddleAndLastBlocks) {
    // Silence everywhere: the first block waits 60 s an attempt.
    auto data = pattern(3000);
    EXPECT_EQ(link->writeData(0x01, 0, 2999, data.data(), 3000), static_cast<int>(kErrTimeout));
    EXPECT_EQ(clock.now, 4u * 60000u);
    ASSERT_GE(owner.statuses.size(), 2u);
    EXPECT_EQ(owner.statuses[0].text, "Updating...");
    EXPECT_EQ(owner.statuses[1].text, "Erasing...");
    EXPECT_EQ(owner.statuses[1].showProgress, 0);
    // A PLD (0x15) shows "Updating..." for its first block; 0x26 waits 180 s.
    owner.statuses.clear();
    clock.now = 0;
    link->writeData(0x15, 0, 10, data.data(), 11);
    EXPECT_EQ(owner.statuses[1].text, "Updating...");
    clock.now = 0;
    link->writeData(0x26, 0, 10, data.data(), 11);
    EXPECT_EQ(clock.now, 4u * 180000u);
}

TEST_F(Transfer, TheLastBlockOfTarget25IsSentOnceAndWaitedForTenMinutes) {
    config.faults.push_back({sim::FaultKind::Silence, 'P', 0x25, 1, 10});
    useProduct();
    auto data = pattern(1500);
    EXPECT_EQ(link->writeData(0x25, 0, 1499, data.data(), 1500), static_cast<int>(kErrTimeout));
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0}, {3, 476, 1024}}));
    EXPECT_EQ(clock.now, 600000u);
}

TEST_F(Transfer, OneByteRangeDoesNotDivideByZero) {
    useProduct();
    const uint8_t one = 0x5A;
    EXPECT_EQ(link->writeData(0x01, 0x2000, 0x2000, &one, 1), 0);
    EXPECT_EQ(blocks(), (std::vector<B>{{3, 1, 0x2000}}));
    EXPECT_EQ(owner.statuses.back().percent, 100);
}

TEST_F(Transfer, EraseAndWriteStopsAfterAFailedErase) {
    config.faults.push_back({sim::FaultKind::Error, 'L', 0xFF, 0, 1, 0xEB});
    useProduct();
    auto data = pattern(10);
    EXPECT_EQ(link->eraseAndWrite(0x01, 0x0200, 0, 9, data.data(), 10), 0);
    EXPECT_TRUE(wire->framesWith('P').empty());
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, kErrReply);
    EXPECT_EQ(link->lastErrorCode(), 0xEB);
    EXPECT_EQ(link->eraseAndWrite(0x01, 0x0200, 0, 9, data.data(), 10), 1);
    EXPECT_EQ(product->slotVersion(0), "0200");
}

class ReadBack : public Transfer {
protected:
    std::vector<uint8_t> buffer = std::vector<uint8_t>(kReadBackBufferSize, 0xEE);
};

TEST_F(ReadBack, ReturnsTheWrittenMemory) {
    useProduct();
    auto data = pattern(2500);
    ASSERT_EQ(link->eraseAndWrite(0x11, 1, 0x4000, 0x4000 + 2499, data.data(), 2500), 1);
    uint32_t count = 0;
    ASSERT_EQ(link->readBack(0x11, 0x4000, 0x4000 + 2499, buffer.data(), count), 1);
    EXPECT_EQ(count, 2500u);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 2500), data);
    EXPECT_EQ(buffer[2500], 0);  // cleared before the read-back
    EXPECT_EQ(owner.statuses.back().text, "Verifying...");
    EXPECT_EQ(owner.statuses.back().percent, 100);
    EXPECT_EQ(wire->framesWith('A').size(), 10u);  // 256-byte blocks for 0x11
}

TEST_F(ReadBack, ErrorFrameIsACheckErrorOfTheVerifyStep) {
    config.faults.push_back({sim::FaultKind::Error, 'A', 0xFF, 0, 1, 0xE2});
    useProduct();
    uint32_t count = 0;
    EXPECT_EQ(link->readBack(0x01, 0, 4095, buffer.data(), count), 0);
    ASSERT_EQ(owner.checkErrors.size(), 1u);
    EXPECT_EQ(owner.checkErrors[0].errorCode, kErrReply);
    EXPECT_EQ(owner.checkErrors[0].processCode, kProcVerify);
    EXPECT_EQ(owner.checkErrors[0].progress, 1023u * 100u / 4095u);
    EXPECT_EQ(count, 1024u);
}

TEST_F(ReadBack, SilenceAfterTheRequestIsATimeoutAfterFourWaits) {
    answerInTurn({buildFrame('A', 0x01)});
    uint32_t count = 0;
    EXPECT_EQ(link->readBack(0x01, 0, 99, buffer.data(), count), 0);
    EXPECT_EQ(clock.now, 4u * 5000u);
    EXPECT_EQ(owner.checkErrors.back().errorCode, kErrTimeout);
    EXPECT_TRUE(owner.linkErrors.empty());
}

TEST_F(ReadBack, FailedRequestIsReportedAsALinkError) {
    uint32_t count = 0;
    EXPECT_EQ(link->readBack(0x01, 0, 99, buffer.data(), count), 0);
    EXPECT_EQ(owner.linkErrors.back().processCode, kProcVerify);
    EXPECT_TRUE(owner.checkErrors.empty());
}

TEST_F(ReadBack, ProgressOfAHugeRangeDoesNotWrap) {
    // The product answers one frame at 0xC0000000 for the range 0..0xFFFFFFFF.
    const uint8_t one = 1;
    auto answer = buildFrame('A', 0x01);
    auto frame = buildDataFrame('P', 0x01, 2, 0xC0000000u, &one, 1);
    answer.insert(answer.end(), frame.begin(), frame.end());
    answerInTurn({answer});
    uint32_t count = 0;
    link->readBack(0x01, 0, 0xFFFFFFFFu, buffer.data(), count);
    bool seen75 = false;
    for (auto& s : owner.statuses) seen75 = seen75 || s.percent == 75;
    EXPECT_TRUE(seen75);
}

TEST_F(ReadBack, BlockStateAboveThreeIsACommunicationError) {
    const uint8_t one = 1;
    auto ack = buildFrame('A', 0x01);
    auto odd = buildDataFrame('P', 0x01, 7, 0, &one, 1);
    ack.insert(ack.end(), odd.begin(), odd.end());
    answerInTurn({ack});
    uint32_t count = 0;
    EXPECT_EQ(link->readBack(0x01, 0, 0, buffer.data(), count), 0);
    EXPECT_EQ(owner.checkErrors.back().errorCode, kErrComm);
}

}  // namespace
}  // namespace tarnwick::test
