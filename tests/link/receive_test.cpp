// The frame receivers byte by byte, and what is read out of a received frame.
#include <cstring>

#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

using R = ReceiveResult;

std::vector<uint8_t> withChecksum(std::vector<uint8_t> f) {
    f.push_back(frameChecksum(f.data(), f.size()));
    return f;
}

using ReceiveFrame = LinkTest;

TEST_F(ReceiveFrame, OneFrameEachAndNothingLeftOver) {
    const struct { const char* name; std::vector<uint8_t> bytes; R result; } cases[] = {
        {"noise before the start byte", {0x55, 0xAA, 'A', 0x01, 0xEC}, R::Ack},  // 0xEC: the sum of the bytes
        {"wrong checksum", {0xAA, 'A', 0x01, 0x00}, R::BadChecksum},
        {"unknown letter", buildFrame('Z', 0x01), R::BadFrame},
        // An answer from another target is read to its end.
        {"other target", withChecksum({0xAA, 'E', 0x02, 0xE5}), R::BadFrame},
    };
    for (const auto& c : cases) {
        wire->feed(c.bytes);
        EXPECT_EQ(link->receiveFrame(0x01, 5), c.result) << c.name;
        EXPECT_TRUE(wire->incoming.empty()) << c.name;
    }
}

TEST_F(ReceiveFrame, ErrorFrameGivesTheProductsCodeUntilTheNextFrame) {
    EXPECT_EQ(link->lastErrorCode(), 0);
    wire->feed(withChecksum({0xAA, 'E', 0x01, 0xEC}));
    EXPECT_EQ(link->receiveFrame(0x01, 5), R::ErrorReply);
    EXPECT_EQ(link->lastErrorCode(), 0xEC);
    wire->feed(buildFrame('A', 0x01));
    EXPECT_EQ(link->receiveFrame(0x01, 5), R::Ack);
    EXPECT_EQ(link->lastErrorCode(), 0);
}

TEST_F(ReceiveFrame, SilenceTimesOutAfterTheWholeWait) {
    EXPECT_EQ(link->receiveFrame(0x01, 5), R::TimedOut);
    EXPECT_EQ(clock.now, 5000u);
    clock.now = 0;
    EXPECT_EQ(link->receiveFrame(0x01, 601), R::TimedOut);  // above 600 s counts as 60 s
    EXPECT_EQ(clock.now, 60000u);
    clock.now = 0;
    EXPECT_EQ(link->receiveInfoFrame(0x01, 181), R::TimedOut);
    EXPECT_EQ(clock.now, 60000u);
}

TEST_F(ReceiveFrame, ReadFailureIsReported) {
    wire->feed({0xAA});
    wire->failReads = true;
    EXPECT_EQ(link->receiveFrame(0x01, 5), R::ReadFailed);
}

TEST_F(ReceiveFrame, InfoReceiverKnowsTheInfoAnswer) {
    std::vector<uint8_t> f{0xAA, 'I', 0x01, 0x00, 0x00, 0x12, 0x34, 0xAB, 0xCD, 0x11, 0x22,
                           0x33, 0x44, 0x4F, 0x4B, 0x00, 0x07};
    wire->feed(withChecksum(f));
    ASSERT_EQ(link->receiveInfoFrame(0x01, 10), R::InfoReply);
    InfoRecord r = link->infoAnswer(3);
    EXPECT_EQ(r.value, 0x1234u);
    EXPECT_EQ(r.wordA, 0xABCD);
    EXPECT_EQ(r.wordB, 0x3344);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(r.entryWords[k], 0x1122);
        EXPECT_EQ(r.entryValues[k], 0x4F4B0007u);
    }
    EXPECT_EQ(r.entryValues[3], 0u);
    InfoRecord none = link->infoAnswer(86);
    EXPECT_EQ(none.value, 0u);
    EXPECT_EQ(none.entryValues[0], 0u);
    // The frame receiver does not know 'I': it takes 4 bytes, whose last is no checksum.
    wire->feed(withChecksum(f));
    EXPECT_EQ(link->receiveFrame(0x01, 10), R::BadChecksum);
    EXPECT_EQ(wire->incoming.size(), 14u);
}

class StoreData : public LinkTest {
protected:
    std::vector<uint8_t> buffer = std::vector<uint8_t>(kReadBackBufferSize + 64, 0xEE);
    uint32_t position = 0;
    // Receives one data frame and stores it; gives storeData's result.
    int receiveAndStore(const std::vector<uint8_t>& frame) {
        wire->feed(frame);
        link->receiveFrame(0x01, 5);
        return link->storeData(buffer.data(), position);
    }
};

TEST_F(StoreData, FirstBlockRestartsAtZeroAndMiddleBlocksAppend) {
    const uint8_t a[3] = {1, 2, 3};
    const uint8_t b[2] = {4, 5};
    position = 77;
    ASSERT_EQ(receiveAndStore(buildDataFrame('P', 0x01, 1, 0x100, a, 3)), 1);
    ASSERT_EQ(receiveAndStore(buildDataFrame('P', 0x01, 2, 0x103, b, 2)), 1);
    EXPECT_EQ(position, 5u);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 0xEE}));
    FrameHeader h = link->dataHeader();
    EXPECT_EQ(h.address, 0x103u);
    EXPECT_EQ(h.lastAddress, 0x104u);
}

TEST_F(StoreData, StopsAtSixteenMebibytes) {
    std::vector<uint8_t> data(100, 0x5A);
    position = kReadBackBufferSize - 10;
    ASSERT_EQ(receiveAndStore(buildDataFrame('P', 0x01, 2, 0, data.data(), 100)), 1);
    EXPECT_EQ(position, kReadBackBufferSize);
    EXPECT_EQ(buffer[kReadBackBufferSize - 1], 0x5A);
    EXPECT_EQ(buffer[kReadBackBufferSize], 0xEE);
}

TEST_F(StoreData, OversizedFrameStoresOnlyWhatArrived) {
    // Target 0x11 takes at most 267-byte frames; this one declares 2000 data bytes.
    std::vector<uint8_t> head{0xAA, 'P', 0x11, 0, 0x07, 0xD0, 0, 0, 0, 0};
    std::vector<uint8_t> data(2000, 0x42);
    wire->feed(head);
    wire->feed(data);
    ASSERT_EQ(link->receiveFrame(0x11, 5), R::BlockData);
    EXPECT_EQ(link->rxLength(), 267u);
    ASSERT_EQ(link->storeData(buffer.data(), position), 1);
    EXPECT_EQ(position, 257u);
    EXPECT_EQ(buffer[256], 0x42);
    EXPECT_EQ(buffer[257], 0xEE);
}

TEST_F(StoreData, RefusesOtherFramesAndUnknownBlockStates) {
    EXPECT_EQ(receiveAndStore(buildFrame('A', 0x01)), 0);
    const uint8_t a[1] = {9};
    EXPECT_EQ(receiveAndStore(buildDataFrame('P', 0x01, 4, 0, a, 1)), 0);
    EXPECT_EQ(position, 0u);
}

}  // namespace
}  // namespace tarnwick::test
