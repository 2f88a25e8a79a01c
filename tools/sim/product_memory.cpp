#include "product_memory.h"

#include <algorithm>

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
    // Page by page: one look-up for each run of bytes that falls into the same page.
    for (size_t k = 0; k < count;) {
        uint32_t a = address + static_cast<uint32_t>(k);
        auto [it, added] = pages.try_emplace(a - a % kPage);
        if (added) it->second.fill(0xFF);
        size_t run = std::min<size_t>(kPage - a % kPage, count - k);
        std::copy(bytes + k, bytes + k + run, it->second.begin() + a % kPage);
        k += run;
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
    const uint64_t total = static_cast<uint64_t>(end - start) + 1;
    out.assign(total, 0xFF);
    auto t = pages_.find(targetId);
    if (t == pages_.end()) return out;
    for (uint64_t k = 0; k < total;) {
        uint32_t a = start + static_cast<uint32_t>(k);
        uint64_t run = std::min<uint64_t>(kPage - a % kPage, total - k);
        auto p = t->second.find(a - a % kPage);
        if (p != t->second.end()) std::copy_n(p->second.begin() + a % kPage, run, out.begin() + static_cast<std::ptrdiff_t>(k));
        k += run;
    }
    return out;
}

uint64_t ProductMemory::bytesWritten(uint8_t targetId) const {
    auto it = written_.find(targetId);
    return it == written_.end() ? 0 : it->second;
}

}  // namespace tarnwick::sim
