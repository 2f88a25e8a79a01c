#include "package/crc32_words.h"

#include <array>
#include <cstddef>

namespace tarnwick {

namespace {

constexpr uint32_t kPolynomial = 0x04C11DB7u;

// One word shifted into the register, bit 31 first.
constexpr uint32_t shiftWord(uint32_t crc, uint32_t word) {
    for (int bit = 31; bit >= 0; --bit) {
        const bool top = (crc & 0x80000000u) != 0;
        crc = (crc << 1) | ((word >> bit) & 1u);
        if (top) crc ^= kPolynomial;
    }
    return crc;
}

// Shifting a word W into the register R gives W ^ G(R), where G(R) is the register after
// 32 zero bits. With Q = G(R) kept instead of R, each word is Q' = G(W ^ Q) and the result
// is the last word ^ Q before it. G is linear, so it splits into one table per byte, and
// four words at a time are Q' = G^4(W1 ^ Q) ^ G^3(W2) ^ G^2(W3) ^ G(W4). Table
// [4 * (k - 1) + j] holds G^k of byte j (counted from the low end).
using CrcTables = std::array<std::array<uint32_t, 256>, 16>;

constexpr CrcTables makeTables() {
    CrcTables t{};
    for (uint32_t b = 0; b < 256; ++b) {
        for (int j = 0; j < 4; ++j) {
            uint32_t value = b << (8 * j);
            for (int k = 0; k < 4; ++k) {
                value = shiftWord(value, 0);
                t[static_cast<std::size_t>(4 * k + j)][b] = value;
            }
        }
    }
    return t;
}

constexpr CrcTables kTables = makeTables();

inline uint32_t loadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// G^power of a word.
inline uint32_t throughG(uint32_t value, std::size_t power) {
    const std::size_t base = 4 * (power - 1);
    return kTables[base][value & 0xFFu] ^ kTables[base + 1][(value >> 8) & 0xFFu] ^
           kTables[base + 2][(value >> 16) & 0xFFu] ^ kTables[base + 3][value >> 24];
}

}  // namespace

int Crc32Words(const uint8_t* bytes, uint32_t length, uint32_t& result) {
    result = 0;
    if (length == 0) return 0;
    uint32_t words = length / 4;
    if (words == 0) return 1;
    const uint8_t* p = bytes;
    uint32_t q = 0;
    // Every word but the last goes through G.
    for (; words > 4; words -= 4, p += 16) {
        q = throughG(loadWord(p) ^ q, 4) ^ throughG(loadWord(p + 4), 3) ^
            throughG(loadWord(p + 8), 2) ^ throughG(loadWord(p + 12), 1);
    }
    for (; words > 1; --words, p += 4) q = throughG(loadWord(p) ^ q, 1);
    result = loadWord(p) ^ q;
    return 1;
}

}  // namespace tarnwick
