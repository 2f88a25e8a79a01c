#include "package/crc32_words.h"

#include <array>

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

// Shifting a word into the register gives word ^ G(crc), where G(crc) is the register
// after 32 zero bits; G is linear, so it splits into one table per byte of crc. Two words
// at a time need G(G(crc)) as well: tables 4..7. Table k holds the part of byte k % 4
// (counted from the low end), once (k < 4) or twice (k >= 4) through G.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables makeTables() {
    CrcTables t{};
    for (uint32_t b = 0; b < 256; ++b) {
        for (int k = 0; k < 4; ++k) {
            const uint32_t once = shiftWord(b << (8 * k), 0);
            t[k][b] = once;
            t[k + 4][b] = shiftWord(once, 0);
        }
    }
    return t;
}

constexpr CrcTables kTables = makeTables();

inline uint32_t loadWord(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint32_t throughG(uint32_t crc, int base) {
    return kTables[base][crc & 0xFFu] ^ kTables[base + 1][(crc >> 8) & 0xFFu] ^
           kTables[base + 2][(crc >> 16) & 0xFFu] ^ kTables[base + 3][crc >> 24];
}

}  // namespace

int Crc32Words(const uint8_t* bytes, uint32_t length, uint32_t& result) {
    result = 0;
    if (length == 0) return 0;
    uint32_t words = length / 4;
    uint32_t crc = 0;
    const uint8_t* p = bytes;
    for (; words >= 2; words -= 2, p += 8) {
        const uint32_t first = loadWord(p);
        const uint32_t second = loadWord(p + 4);
        crc = second ^ throughG(first, 0) ^ throughG(crc, 4);
    }
    if (words == 1) crc = loadWord(p) ^ throughG(crc, 0);
    result = crc;
    return 1;
}

}  // namespace tarnwick
