// Writing a memory range in 'P' blocks, and reading one back.
#include <algorithm>
#include <cstring>

#include "link/link_timeouts.h"
#include "link/target_facts.h"
#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetries = 3;

// One block of writeData: its state, start address and data.
struct Block {
    uint8_t state = kBlockLast;  // "no block built yet"
    uint32_t address = 0;
    uint32_t count = 0;
    const uint8_t* bytes = nullptr;
};

// Cursor over the source data and the address range.
struct WriteCursor {
    const uint8_t* data;
    uint32_t length;
    uint32_t end;
    uint32_t s = 0;  // source index
    uint32_t a = 0;  // address
};

// Builds the next block: up to blockSize bytes, ending where the data or the range end.
Block nextBlock(WriteCursor& c, const Block& previous, uint32_t blockSize, uint32_t start) {
    Block b;
    if (previous.state == kBlockLast) {
        b.state = kBlockFirst;
        c.a = start;
    } else {
        b.state = kBlockMiddle;
    }
    b.address = c.a;
    b.bytes = c.data + c.s;
    for (uint32_t k = 0; k < blockSize; ++k) {
        if (c.s >= c.length) {
            b.state = kBlockLast;
            break;
        }
        ++b.count;
        if (c.a >= c.end) {
            b.state = kBlockLast;
            break;
        }
        ++c.s;
        ++c.a;
    }
    return b;
}

bool isBlank(const Block& b) {
    return std::all_of(b.bytes, b.bytes + b.count, [](uint8_t v) { return v == 0xFF; });
}

uint16_t sumOf(const Block& b) {
    uint32_t sum = 0;
    for (uint32_t k = 0; k < b.count; ++k) sum += b.bytes[k];
    return static_cast<uint16_t>(sum);
}

std::chrono::seconds answerWait(const TargetFacts& facts, const Block& b) {
    if (b.state == kBlockMiddle) return kMiddleBlockAnswerWait;
    return b.state == kBlockLast ? facts.lastBlockAnswerWait : facts.firstBlockAnswerWait;
}

}  // namespace

ErrorCode TargetLink::writeData(uint8_t targetId, uint32_t start, uint32_t end, const uint8_t* data,
                                uint32_t length) {
    reportStatus(targetId, "Updating...", 0, 0);
    const TargetFacts& facts = targetFacts(targetId);
    WriteCursor cursor{data, data ? length : 0, end};
    Block block;
    uint16_t runningSum = 0;
    int percent = 0;
    ErrorCode code = ErrorCode::None;
    do {
        block = nextBlock(cursor, block, facts.blockSize, start);
        if (block.state == kBlockMiddle && facts.skipsBlankBlocks && isBlank(block)) continue;
        if (facts.keepsWriteSum) {
            runningSum = static_cast<uint16_t>(runningSum + sumOf(block));
            if (block.state == kBlockLast) lastWriteSum = runningSum;
        }
        auto frame = buildDataFrame(kLetterBlock, targetId, block.state, block.address, block.bytes,
                                    static_cast<uint16_t>(block.count));
        const bool resendable = !(block.state == kBlockLast && facts.lastBlockSentOnce);
        for (int retries = 0;; ++retries) {
            if (!sendFrame(frame)) {
                code = ErrorCode::Comm;
                break;
            }
            percent = percentOf(block.address, start, end);
            if (block.state == kBlockFirst) {
                reportStatus(targetId, facts.firstBlockText, 0, 0);
            } else {
                reportStatus(targetId, "Updating...", 1, percent);
            }
            ReceiveResult r = receiveFrame(targetId, answerWait(facts, block));
            if (r == ReceiveResult::Ack) break;
            if (r == ReceiveResult::ErrorReply) {
                code = ErrorCode::ProductError;
                break;
            }
            if (retries >= kMaxRetries || !resendable) {
                code = r == ReceiveResult::TimedOut ? ErrorCode::Timeout : ErrorCode::Retry;
                break;
            }
        }
        if (code != ErrorCode::None) {
            reportLinkError(targetId, code, kProcUpdate, static_cast<uint32_t>(percent));
            return code;
        }
    } while (block.state != kBlockLast);
    return ErrorCode::None;
}

bool TargetLink::eraseAndWrite(uint8_t targetId, uint16_t versionNumber, uint32_t start, uint32_t end,
                               const uint8_t* data, uint32_t length) {
    if (erase(targetId, 0, versionNumber, start, end) != ErrorCode::None) return false;
    return writeData(targetId, start, end, data, length) == ErrorCode::None;
}

bool TargetLink::readBack(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer, uint32_t& position) {
    const char* text = transport_->traits().verifyingText;
    position = 0;
    int percent = 0;
    reportStatus(targetId, text, 1, 0);
    std::memset(buffer, 0, kReadBackBufferSize);
    if (requestRead(targetId, 0, start, end) != ErrorCode::None) return false;
    const ErrorCode code = readBackBlocks(targetId, start, end, buffer, position, percent);
    if (code == ErrorCode::None) return true;
    reportCheckError(targetId, code, kProcVerify, static_cast<uint32_t>(percent));
    return false;
}

// Receives the 'P' frames of a read-back until the last one; None or the error code.
ErrorCode TargetLink::readBackBlocks(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer,
                                     uint32_t& position, int& percent) {
    const char* text = transport_->traits().verifyingText;
    int retries = 0;
    for (;;) {
        ReceiveResult r = receiveFrame(targetId, kReadBackFrameWait);
        if (r == ReceiveResult::ErrorReply) return ErrorCode::ProductError;
        if (r != ReceiveResult::BlockData) {
            if (retries >= kMaxRetries) return r == ReceiveResult::TimedOut ? ErrorCode::Timeout : ErrorCode::Retry;
            ++retries;
            // Its result is ignored: a lost 'N' shows as the next wait failing.
            if (transport_->traits().nakOnReadBackRetry) (void)sendNak(targetId);
            continue;
        }
        if (!storeData(buffer, position)) return ErrorCode::Comm;
        FrameHeader h = dataHeader();
        // A frame of no data ends before its own address: count it as at its address.
        uint32_t last = h.length == 0 ? h.address : h.lastAddress;
        percent = percentOf(last, start, end);
        reportStatus(targetId, text, 1, percent);
        (void)sendAck(targetId);  // its result is ignored: a lost one shows in the next wait
        retries = 0;
        if (h.blockState == kBlockOnly || h.blockState == kBlockLast) return ErrorCode::None;
    }
}

}  // namespace tarnwick
