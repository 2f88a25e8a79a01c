// The memory of the product's components: one sparse address space per target id,
// blank (0xFF) where nothing was written.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace tarnwick::sim {

class ProductMemory {
public:
    void erase(uint8_t targetId, uint32_t start, uint32_t end);
    void write(uint8_t targetId, uint32_t address, const uint8_t* bytes, size_t count);
    uint8_t at(uint8_t targetId, uint32_t address) const;
    // Bytes start..end inclusive.
    std::vector<uint8_t> read(uint8_t targetId, uint32_t start, uint32_t end) const;
    // Bytes written since the start (count of write calls' bytes), per target.
    uint64_t bytesWritten(uint8_t targetId) const;

private:
    static constexpr uint32_t kPage = 4096;
    using Page = std::array<uint8_t, kPage>;
    std::map<uint8_t, std::map<uint32_t, Page>> pages_;
    std::map<uint8_t, uint64_t> written_;
};

}  // namespace tarnwick::sim
