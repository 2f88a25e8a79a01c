// An in-memory transport: records every write, and answers through a responder that
// sees each write (a scripted product, or the simulated product's engine).
#pragma once
#include <deque>
#include <functional>
#include <vector>

#include "link/transport.h"

namespace tarnwick::test {

class MemoryTransport : public Transport {
public:
    using Responder = std::function<std::vector<uint8_t>(const std::vector<uint8_t>& written)>;

    std::vector<std::vector<uint8_t>> writes;  // every write, in order
    std::deque<uint8_t> incoming;              // bytes the link has not read yet
    Responder responder;
    TransportTraits traitsValue;
    int purges = 0;
    bool failWrites = false;
    bool failReads = false;

    void feed(const std::vector<uint8_t>& bytes) { incoming.insert(incoming.end(), bytes.begin(), bytes.end()); }

    int write(const uint8_t* bytes, size_t count) override {
        if (failWrites) return 0;
        writes.emplace_back(bytes, bytes + count);
        if (responder) feed(responder(writes.back()));
        return 1;
    }
    int read(uint8_t* bytes, size_t count) override {
        if (failReads || incoming.size() < count) return 0;
        for (size_t k = 0; k < count; ++k) {
            bytes[k] = incoming.front();
            incoming.pop_front();
        }
        return 1;
    }
    uint32_t bytesWaiting() override { return static_cast<uint32_t>(incoming.size()); }
    int purge() override {
        ++purges;
        incoming.clear();
        return 1;
    }
    int close() override { return 1; }
    NativeHandle waitHandle() const override { return kNoHandle; }
    TransportTraits traits() const override { return traitsValue; }

    // The writes whose second byte is the letter.
    std::vector<std::vector<uint8_t>> framesWith(uint8_t letter) const {
        std::vector<std::vector<uint8_t>> out;
        for (auto& w : writes) {
            if (w.size() >= 4 && w[0] == 0xAA && w[1] == letter) out.push_back(w);
        }
        return out;
    }
};

}  // namespace tarnwick::test
