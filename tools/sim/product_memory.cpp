#include "product_memory.h"

namespace tarnwick::sim {

void ProductMemory::erase(uint8_t targetId, uint32_t start, uint32_t end) {
    auto found = pages_.find(targetId);
    if (found == pages_.end() || end < start) return;
    auto& pages = found->second;
    for (auto it = pages.lower_bound(start - start % kPage); it != pages.end() && it->first <= end;) {
        uint32_t base = it->first;
        for (uint32_t k = 0; k < kPage; ++k) {
            uint32_t a = base + k;
            if (a >= start && a <= end) it->second[k] = 0xFF;
        }
        ++it;
    }
}

void ProductMemory::write(uint8_t targetId, uint32_t address, const uint8_t* bytes, size_t count) {
    auto& pages = pages_[targetId];
    for (size_t k = 0; k < count; ++k) {
        uint32_t a = address + static_cast<uint32_t>(k);
        auto [it, added] = pages.try_emplace(a - a % kPage);
        if (added) it->second.fill(0xFF);
        it->second[a % kPage] = bytes[k];
    }
    written_[targetId] += count;
}

uint8_t ProductMemory::at(uint8_t targetId, uint32_t address) const {
    auto t = pages_.find(targetId);
    if (t == pages_.end()) return 0xFF;
    auto p = t->second.find(address - address % kPage);
    return p == t->second.end() ? 0xFF : p->second[address % kPage];
}

std::vector<uint8_t> ProductMemory::read(uint8_t targetId, uint32_t start, uint32_t end) const {
    std::vector<uint8_t> out;
    if (end < start) return out;
    out.reserve(static_cast<size_t>(end - start) + 1);
    for (uint32_t a = start;; ++a) {
        out.push_back(at(targetId, a));
        if (a == end) break;
    }
    return out;
}

uint64_t ProductMemory::bytesWritten(uint8_t targetId) const {
    auto it = written_.find(targetId);
    return it == written_.end() ? 0 : it->second;
}

}  // namespace tarnwick::sim
