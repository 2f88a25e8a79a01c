// What differs from one target to the next: the size of a write block, which blank blocks
// are left out, which targets keep a sum of the data written, the last block that is never
// sent twice, how long each answer may take and which parts restart slowly after a switch.
// One row per target that differs; every other target has the default row.
#pragma once
#include <chrono>
#include <cstdint>

namespace tarnwick {

struct TargetFacts {
    uint32_t blockSize = 1024;  // data bytes of one 'P' block
    // A middle block of nothing but 0xFF is not sent: the erase left those bytes blank.
    bool skipsBlankBlocks = false;
    // The product checks the part against the 16-bit sum of the blocks the write sent, not
    // against the package's checksum.
    bool keepsWriteSum = false;
    // The last block goes out once only, whatever its answer: required by the part, not an
    // oversight of the retry rule.
    bool lastBlockSentOnce = false;
    // The first block's status text: most parts erase while they take it.
    const char* firstBlockText = "Erasing...";
    std::chrono::seconds infoAnswerWait{10};  // the 'I' answer, possibly a checksum of a range
    std::chrono::seconds firstBlockAnswerWait{60};
    std::chrono::seconds lastBlockAnswerWait{60};
    // The part restarts for a long while after the product switched to it.
    bool restartsSlowly = false;
};

// The facts of a target id (the default row for an id without one of its own).
const TargetFacts& targetFacts(uint8_t targetId);

}  // namespace tarnwick
