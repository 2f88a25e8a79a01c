// Reading a component's data file back into memory and checking it against the package.
#pragma once
#include <cstdint>
#include <string>

#include "package/update_package.h"

namespace tarnwick {

constexpr uint32_t kComponentDataLimit = 16u * 1024u * 1024u;
// The buffer a component is read into and read back into.
constexpr size_t kComponentBufferSize = kComponentDataLimit;

// Reads the file at path into buffer (at most limit bytes) and sums its bytes. True when the
// file was opened and holds at most limit bytes; length and byteSum then describe it.
[[nodiscard]] bool readComponentFile(const std::string& path, uint8_t* buffer, uint32_t limit,
                                     uint32_t& length, uint32_t& byteSum);

// The check of a component's data by its write method: 2 and 5 by Crc32Words (an empty
// file fails), 1, 3, 4, 6 and 7 by the low 16 bits of the byte sum, anything else fails.
[[nodiscard]] bool checkComponentData(uint8_t writeMethod, uint32_t checksum, const uint8_t* data,
                                      uint32_t length, uint32_t byteSum);

// Reads the data file of the component at position into buffer (kComponentBufferSize
// bytes) and checks it by the component's write method. True when it passed; length and
// byteSum then describe the data. False for a bad position, a null buffer, a file that
// cannot be read or is too long, or a failed check (length 0).
[[nodiscard]] bool loadComponentData(const UpdatePackage& package, int position, uint8_t* buffer,
                                     uint32_t& length, uint32_t& byteSum);

}  // namespace tarnwick
