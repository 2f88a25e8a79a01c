// Writing a range in blocks and reading it back, against the simulated product's engine
// or a scripted answer.
#include <numeric>

#include "pkgbuild/package_builder.h"
#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

using B = std::tuple<int, int, uint32_t>;  // block state, length, address

class Transfer : public ProductLinkTest {
protected:
    Transfer() { config.startInUpdateMode = true; }

    // Every 'P' frame sent; each must be exactly as long as its length field says.
    std::vector<B> blocks() const {
        std::vector<B> out;
        for (auto& f : wire.framesWith('P')) {
            EXPECT_EQ(f.size(), 11u + readBe16(&f[4]));
            out.emplace_back(f[3], readBe16(&f[4]), readBe32(&f[6]));
        }
        return out;
    }
};

struct LayoutCase {
    const char* name;
    uint32_t first, last, size;  // the range and how much data there is for it
    std::vector<B> blocks;
    int lastPercent = -1;  // of the last status, when set
};

TEST_F(Transfer, BlocksEndWhereTheDataOrTheRangeEnds) {
    const LayoutCase cases[] = {
        {"one block", 0x1000, 0x13FF, 1024, {{3, 1024, 0x1000}}},
        {"one byte more", 0x1000, 0x1400, 1025, {{1, 1024, 0x1000}, {3, 1, 0x1400}}},
        {"data ends first", 0, 0xFFFF, 1500, {{1, 1024, 0}, {3, 476, 1024}}},
        {"range ends first", 0, 1099, 1500, {{1, 1024, 0}, {3, 76, 1024}}},
        // Data ending at a block boundary is followed by an empty last block.
        {"boundary", 0, 0xFFFF, 2048, {{1, 1024, 0}, {2, 1024, 1024}, {3, 0, 2048}}},
        {"one-byte range", 0x2000, 0x2000, 1, {{3, 1, 0x2000}}, 100},  // no division by zero
    };
    for (const LayoutCase& c : cases) {
        useProduct();
        wire.writes.clear();
        const auto data = pkgbuild::patternData(c.size, 7);
        EXPECT_EQ(link->writeData(0x01, c.first, c.last, data.data(), c.size), ErrorCode::None) << c.name;
        EXPECT_EQ(blocks(), c.blocks) << c.name;
        const uint32_t end = std::min(c.last, c.first + c.size - 1);
        EXPECT_EQ(product->memory(0x01, c.first, end), std::vector<uint8_t>(data.begin(), data.begin() + (end - c.first + 1)))
            << c.name;
        if (c.lastPercent >= 0) { EXPECT_EQ(owner.statuses.back().percent, c.lastPercent) << c.name; }
    }
}

TEST_F(Transfer, BlankMiddleBlocksAreSkippedForListedTargetsAndLeftOutOfTheSum) {
    useProduct();
    // Target 0x26: blocks of 512; the middle block is blank.
    std::vector<uint8_t> data(1536, 0xFF);
    data[0] = 1;
    data[1535] = 2;
    EXPECT_EQ(link->writeData(0x26, 0, 1535, data.data(), 1536), ErrorCode::None);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 512, 0}, {3, 512, 1024}}));
    uint32_t sum = std::accumulate(data.begin(), data.begin() + 512, 0u) +
                   std::accumulate(data.begin() + 1024, data.end(), 0u);
    EXPECT_EQ(link->lastWriteSum, static_cast<uint16_t>(sum));
    // The same data to target 0x01 (1024-byte blocks, with a blank middle) is all sent.
    wire.writes.clear();
    std::vector<uint8_t> wide(3072, 0xFF);
    EXPECT_EQ(link->writeData(0x01, 0, 3071, wide.data(), 3072), ErrorCode::None);
    EXPECT_EQ(blocks().size(), 3u);
}

TEST_F(Transfer, AResentBlockIsSummedOnce) {
    config.faults.push_back({sim::FaultKind::Nak, 'P', 0xFF, 0, 1});
    useProduct();
    auto data = pkgbuild::patternData(600, 7);
    EXPECT_EQ(link->writeData(0x27, 0, 599, data.data(), 600), ErrorCode::None);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 512, 0}, {1, 512, 0}, {3, 88, 512}}));
    EXPECT_EQ(link->lastWriteSum, static_cast<uint16_t>(std::accumulate(data.begin(), data.end(), 0u)));
}

TEST_F(Transfer, FourBadAnswersEndWithARetryErrorAndTheProgress) {
    config.faults.push_back({sim::FaultKind::Nak, 'P', 0xFF, 2, 4});
    useProduct();
    auto data = pkgbuild::patternData(4096, 7);
    EXPECT_EQ(link->writeData(0x01, 0, 4095, data.data(), 4096), ErrorCode::Retry);
    EXPECT_EQ(blocks().size(), 2u + 4u);
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    const ErrorRecord& r = owner.linkErrors[0];
    EXPECT_EQ((std::array<uint32_t, 3>{r.errorCode, r.processCode, r.progress}),
              (std::array<uint32_t, 3>{numberOf(ErrorCode::Retry), kProcUpdate, 2048u * 100u / 4095u}));
}

TEST_F(Transfer, StatusTextsAndWaitsOfFirstMiddleAndLastBlocks) {
    // Silence everywhere: the first block waits 60 s an attempt.
    auto data = pkgbuild::patternData(3000, 7);
    EXPECT_EQ(link->writeData(0x01, 0, 2999, data.data(), 3000), ErrorCode::Timeout);
    EXPECT_EQ(clock.now, 4u * 60000u);
    ASSERT_GE(owner.statuses.size(), 2u);
    EXPECT_EQ(owner.statuses[0].text + "|" + owner.statuses[1].text + "|" + std::to_string(owner.statuses[1].showProgress),
              "Updating...|Erasing...|0");
    // A PLD (0x15) shows "Updating..." for its first block; 0x26 waits 180 s.
    owner.statuses.clear();
    clock.now = 0;
    EXPECT_EQ(link->writeData(0x15, 0, 10, data.data(), 11), ErrorCode::Timeout);
    EXPECT_EQ(owner.statuses[1].text, "Updating...");
    clock.now = 0;
    EXPECT_EQ(link->writeData(0x26, 0, 10, data.data(), 11), ErrorCode::Timeout);
    EXPECT_EQ(clock.now, 4u * 180000u);
}

TEST_F(Transfer, TheLastBlockOfTarget25IsSentOnceAndWaitedForTenMinutes) {
    config.faults.push_back({sim::FaultKind::Silence, 'P', 0x25, 1, 10});
    useProduct();
    auto data = pkgbuild::patternData(1500, 7);
    EXPECT_EQ(link->writeData(0x25, 0, 1499, data.data(), 1500), ErrorCode::Timeout);
    EXPECT_EQ(blocks(), (std::vector<B>{{1, 1024, 0}, {3, 476, 1024}}));
    EXPECT_EQ(clock.now, 600000u);
}

TEST_F(Transfer, EraseAndWriteStopsAfterAFailedErase) {
    config.faults.push_back({sim::FaultKind::Error, 'L', 0xFF, 0, 1, 0xEB});
    useProduct();
    auto data = pkgbuild::patternData(10, 7);
    EXPECT_FALSE(link->eraseAndWrite(0x01, 0x0200, 0, 9, data.data(), 10));
    EXPECT_TRUE(wire.framesWith('P').empty());
    ASSERT_EQ(owner.linkErrors.size(), 1u);
    EXPECT_EQ(owner.linkErrors[0].errorCode, numberOf(ErrorCode::ProductError));
    EXPECT_EQ(link->lastErrorCode(), 0xEB);
}

// A failed read-back: the request's failure is the link's report, what follows it a check
// report of the verify step.
TEST_F(Transfer, ReadBackFailuresAndWhoReportsThem) {
    const uint8_t one = 1;
    std::vector<uint8_t> badState = buildFrame('A', 0x01);
    const std::vector<uint8_t> frame = buildDataFrame('P', 0x01, 7, 0, &one, 1);  // no such block state
    badState.insert(badState.end(), frame.begin(), frame.end());
    const struct { const char* name; std::vector<std::vector<uint8_t>> answers; ErrorCode linkError, checkError;
                   uint64_t waited; } cases[] = {
        {"unanswered request", {}, ErrorCode::Timeout, ErrorCode::None, 4u * 5000u},
        {"silence after the request", {buildFrame('A', 0x01)}, ErrorCode::None, ErrorCode::Timeout, 4u * 5000u},
        {"block state above three", {badState}, ErrorCode::None, ErrorCode::Comm, 0},
    };
    std::vector<uint8_t> buffer(kReadBackBufferSize);
    for (const auto& c : cases) {
        answerInTurn(c.answers);
        owner = {};
        clock.now = 0;
        uint32_t count = 0;
        EXPECT_FALSE(link->readBack(0x01, 0, 99, buffer.data(), count)) << c.name;
        EXPECT_EQ(owner.linkErrors.empty() ? 0 : owner.linkErrors[0].errorCode, numberOf(c.linkError)) << c.name;
        EXPECT_EQ(owner.checkErrors.empty() ? 0 : owner.checkErrors[0].errorCode, numberOf(c.checkError)) << c.name;
        EXPECT_EQ(owner.linkErrors.size() + owner.checkErrors.size(), 1u) << c.name;
        if (c.waited) { EXPECT_EQ(clock.now, c.waited) << c.name; }
    }
    // An error frame in the middle: the product's code and the progress so far.
    config.faults.push_back({sim::FaultKind::Error, 'A', 0xFF, 0, 1, 0xE2});
    useProduct();
    owner = {};
    uint32_t count = 0;
    EXPECT_FALSE(link->readBack(0x01, 0, 4095, buffer.data(), count));
    ASSERT_EQ(owner.checkErrors.size(), 1u);
    const ErrorRecord& r = owner.checkErrors[0];
    EXPECT_EQ((std::array<uint32_t, 4>{r.errorCode, r.processCode, r.progress, count}),
              (std::array<uint32_t, 4>{numberOf(ErrorCode::ProductError), kProcVerify, 1023u * 100u / 4095u, 1024u}));
}

}  // namespace
}  // namespace tarnwick::test
