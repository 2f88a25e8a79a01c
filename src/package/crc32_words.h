// The component checksum: CRC-32 (polynomial 0x04C11DB7) over little-endian 32-bit words,
// shifted in MSB first, with no initial value, no final inversion, no reflection and no
// zero bits appended.
#pragma once
#include <cstdint>

namespace tarnwick {

// result = the checksum of the whole words of bytes[0..length); a final 1..3 bytes are
// ignored. Returns 1, or 0 with result 0 when length is 0.
int Crc32Words(const uint8_t* bytes, uint32_t length, uint32_t& result);

}  // namespace tarnwick
