#include "link/frame.h"

#include "link/target_facts.h"

namespace tarnwick {

uint8_t frameChecksum(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

size_t largestFrameFor(uint8_t targetId) { return targetFacts(targetId).blockSize + kDataFrameOverhead; }

uint16_t readBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

uint32_t readBe32(const uint8_t* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

void putBe16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void putBe32(std::vector<uint8_t>& out, uint32_t v) {
    putBe16(out, static_cast<uint16_t>(v >> 16));
    putBe16(out, static_cast<uint16_t>(v));
}

std::vector<uint8_t> buildFrame(uint8_t letter, uint8_t targetId, const std::vector<uint8_t>& params) {
    std::vector<uint8_t> f;
    f.reserve(params.size() + 4);
    f.push_back(kFrameStart);
    f.push_back(letter);
    f.push_back(targetId);
    for (uint8_t b : params) f.push_back(b);
    f.push_back(frameChecksum(f.data(), f.size()));
    return f;
}

std::vector<uint8_t> buildDataFrame(uint8_t letter, uint8_t targetId, uint8_t blockState, uint32_t address,
                                    const uint8_t* data, uint16_t n) {
    std::vector<uint8_t> f;
    f.reserve(kDataFrameOverhead + n);
    f.push_back(kFrameStart);
    f.push_back(letter);
    f.push_back(targetId);
    f.push_back(blockState);
    putBe16(f, n);
    putBe32(f, address);
    if (n > 0) f.insert(f.end(), data, data + n);
    f.push_back(frameChecksum(f.data(), f.size()));
    return f;
}

int percentOf(uint32_t position, uint32_t start, uint32_t end) {
    if (end <= start) return position >= end ? 100 : 0;
    if (position <= start) return 0;
    if (position >= end) return 100;
    uint64_t done = static_cast<uint64_t>(position - start) * 100u;
    return static_cast<int>(done / (end - start));
}

}  // namespace tarnwick
