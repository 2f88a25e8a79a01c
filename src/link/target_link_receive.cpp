// The two frame receivers, the byte wait they share, and what is read out of a frame.
#include <algorithm>
#include <cstring>

#include "link/link_timeouts.h"
#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr uint32_t kPollsPerPump = 10;  // the owner's window repaints every 100 ms of a wait

struct Expectation {
    size_t length;
    ReceiveResult result;
};

Expectation expectFrame(uint8_t letter, size_t largest) {
    switch (letter) {
        case kLetterAck: return {4, ReceiveResult::Ack};
        case kLetterNak: return {4, ReceiveResult::Nak};
        case kLetterConnect: return {4, ReceiveResult::ConnectReply};
        case kLetterProductData: return {largest, ReceiveResult::ProductData};
        case kLetterError: return {5, ReceiveResult::ErrorReply};
        case kLetterBlock: return {largest, ReceiveResult::BlockData};
        default: return {4, ReceiveResult::BadFrame};
    }
}

Expectation expectInfoFrame(uint8_t letter) {
    switch (letter) {
        case kLetterConnect: return {4, ReceiveResult::ConnectReply};
        case kLetterError: return {5, ReceiveResult::ErrorReply};
        case kLetterInfo: return {18, ReceiveResult::InfoReply};
        case kLetterNak: return {4, ReceiveResult::Nak};
        default: return {4, ReceiveResult::BadFrame};
    }
}

}  // namespace

uint32_t waitPolls(std::chrono::seconds wait, std::chrono::seconds cap) {
    return pollsOf(wait > cap ? kOverCapWait : wait);
}

// Polls for received bytes: up to polls times, waiting up to 10 ms for the descriptor
// after each empty poll. Returns the count waiting, 0 when the polls ran out. A product
// that stays silent for seconds must not leave the window looking hung: every tenth empty
// poll the owner repaints (its input stays queued, so nothing is clicked mid-run).
uint32_t TargetLink::waitForBytes(uint32_t polls) {
    for (pollCount_ = polls; pollCount_ > 0; --pollCount_) {
        uint32_t waiting = transport_->bytesWaiting();
        if (waiting > 0) return waiting;
        clock_.waitReadableFor(transport_->waitHandle(), kPollInterval);
        if (pollCount_ % kPollsPerPump == 0 && owner_) owner_->repaintDuringWait();
    }
    return 0;
}

ReceiveResult TargetLink::receiveFrame(uint8_t targetId, std::chrono::seconds timeout) {
    return receive(targetId, waitPolls(timeout, kFrameWaitCap), false);
}

ReceiveResult TargetLink::receiveInfoFrame(uint8_t targetId, std::chrono::seconds timeout) {
    return receive(targetId, waitPolls(timeout, kInfoWaitCap), true);
}

// Bytes before a start byte are skipped; t bounds each silence, never the whole frame.
ReceiveResult TargetLink::receive(uint8_t targetId, uint32_t polls, bool infoTable) {
    const size_t largest = largestFrameFor(targetId);
    rx_.fill(0);
    rxLength_ = 0;
    size_t i = 0;
    size_t expected = largest;
    ReceiveResult result = ReceiveResult::BadFrame;
    uint32_t known = 0;
    uint32_t discardLeft = kDiscardLimit;
    auto finish = [&](ReceiveResult r) {
        rxLength_ = i;
        if (trace_) trace_->receivedFrame(rx_.data(), i, receiveResultName(r));
        return r;
    };
    for (;;) {
        if (known == 0 && (known = waitForBytes(polls)) == 0) return finish(ReceiveResult::TimedOut);
        if (!transport_->read(&rxByte_, 1)) return finish(ReceiveResult::ReadFailed);
        --known;
        if (trace_) trace_->receivedByte(rxByte_);
        rx_[i++] = rxByte_;
        if (i == 1) {
            if (rxByte_ == kFrameStart) continue;
            i = 0;
            if (discardLeft-- == 0) return finish(ReceiveResult::TimedOut);
            continue;
        }
        if (i == 2) {
            Expectation e = infoTable ? expectInfoFrame(rxByte_) : expectFrame(rxByte_, largest);
            expected = e.length;
            result = e.result;
            continue;
        }
        if (i == 3 && rxByte_ != targetId) result = ReceiveResult::BadFrame;
        if (!infoTable && i == 6 && (rx_[1] == kLetterBlock || rx_[1] == kLetterProductData)) {
            expected = kDataFrameOverhead + readBe16(rx_.data() + 4);
        }
        if (i >= expected) {
            if (rx_[i - 1] != frameChecksum(rx_.data(), i - 1)) result = ReceiveResult::BadChecksum;
            return finish(result);
        }
        // A data frame that declares more than a block ends here, unchecked.
        if (i >= largest) return finish(result);
    }
}

FrameHeader TargetLink::dataHeader() const {
    FrameHeader h;
    h.letter = rx_[1];
    h.targetId = rx_[2];
    h.blockState = rx_[3];
    h.length = readBe16(rx_.data() + 4);
    h.address = readBe32(rx_.data() + 6);
    h.lastAddress = h.address + h.length - 1;
    return h;
}

bool TargetLink::storeData(uint8_t* buffer, uint32_t& position) {
    FrameHeader h = dataHeader();
    if ((h.letter != kLetterProductData && h.letter != kLetterBlock) || h.blockState > kBlockLast) return false;
    if (h.blockState == kBlockOnly || h.blockState == kBlockFirst) position = 0;
    // Only bytes that were actually received: a frame cut off at the largest frame
    // holds fewer data bytes than its length field declares.
    size_t received = rxLength_ > kDataOffset ? rxLength_ - kDataOffset : 0;
    size_t count = std::min<size_t>(h.length, received);
    for (size_t k = 0; k < count; ++k) {
        if (position >= kReadBackBufferSize) break;
        buffer[position++] = rx_[kDataOffset + k];
    }
    return true;
}

InfoRecord TargetLink::infoAnswer(uint32_t count) const {
    InfoRecord r{};
    if (count > kInfoEntryMax) return r;
    r.value = readBe32(rx_.data() + 3);
    r.wordA = readBe16(rx_.data() + 7);
    r.wordB = readBe16(rx_.data() + 11);
    // Every entry carries the same bytes: that is the product's answer, a check reads the
    // entry at its own position or id all the same.
    for (uint32_t k = 0; k < count; ++k) {
        r.entryWords[k] = readBe16(rx_.data() + 9);
        r.entryValues[k] = readBe32(rx_.data() + 13);
    }
    return r;
}

uint8_t TargetLink::lastErrorCode() const { return rx_[1] == kLetterError ? rx_[3] : 0; }

}  // namespace tarnwick
