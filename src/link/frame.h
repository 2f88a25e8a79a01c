// The frame format shared by the PC and the product: start byte, letter, target id,
// parameters, 8-bit sum. Pure functions, no I/O.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnwick {

constexpr uint8_t kFrameStart = 0xAA;
constexpr size_t kFrameBufferSize = 1035;     // largest frame, also the longest text line + 1
constexpr size_t kDataFrameOverhead = 11;     // 'P'/'D': header of 10 bytes and the checksum
constexpr size_t kDataOffset = 10;
constexpr uint32_t kReadBackBufferSize = 0x1000000;  // 16 MiB

enum : uint8_t {
    kLetterAck = 'A',
    kLetterNak = 'N',
    kLetterConnect = 'C',
    kLetterSwitch = 'X',
    kLetterInfo = 'I',
    kLetterErase = 'L',
    kLetterRead = 'S',
    kLetterBlock = 'P',
    kLetterProductData = 'D',
    kLetterError = 'E',
};

// Block state byte of a data frame.
enum : uint8_t { kBlockOnly = 0, kBlockFirst = 1, kBlockMiddle = 2, kBlockLast = 3 };

// The 8-bit sum of the bytes (carry discarded).
uint8_t frameChecksum(const uint8_t* bytes, size_t count);

// The largest frame the receiver accepts for a target: its block size + 11.
size_t largestFrameFor(uint8_t targetId);

uint16_t readBe16(const uint8_t* p);
uint32_t readBe32(const uint8_t* p);
void putBe16(std::vector<uint8_t>& out, uint16_t v);
void putBe32(std::vector<uint8_t>& out, uint32_t v);

// Builds a frame: start byte, letter, id, params, checksum.
std::vector<uint8_t> buildFrame(uint8_t letter, uint8_t targetId, const std::vector<uint8_t>& params = {});
// A 'P' (or 'D') frame with n data bytes from data.
std::vector<uint8_t> buildDataFrame(uint8_t letter, uint8_t targetId, uint8_t blockState, uint32_t address,
                                    const uint8_t* data, uint16_t n);

// (position - start) x 100 / (end - start), without overflow, clamped to 0..100. A range
// whose end is not above its start counts as done once position reaches end.
int percentOf(uint32_t position, uint32_t start, uint32_t end);

}  // namespace tarnwick
