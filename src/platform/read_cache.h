// Bytes a transport took from the platform in one call, handed to its reader a few at a
// time (the link reads one byte at a time).
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarnwick {

class ReadCache {
public:
    static constexpr size_t kCapacity = 4096;

    size_t size() const { return end_ - pos_; }
    void clear() { pos_ = end_ = 0; }
    // Refills the cache: fill(buffer, kCapacity) returns the count it received, 0 when none.
    // The buffer holds one byte more, for a receive that closes the bytes with a zero.
    template <typename Fill>
    size_t refill(Fill fill) {
        pos_ = 0;
        end_ = std::min(fill(bytes_.data(), kCapacity), kCapacity);
        return end_;
    }
    // Copies count bytes out, refilling whenever the cache runs dry; false when a refill
    // brings nothing.
    template <typename Fill>
    bool take(uint8_t* out, size_t count, Fill fill) {
        for (size_t done = 0; done < count;) {
            if (size() == 0 && refill(fill) == 0) return false;
            const size_t n = std::min(size(), count - done);
            std::memcpy(out + done, bytes_.data() + pos_, n);
            pos_ += n;
            done += n;
        }
        return true;
    }

private:
    std::array<uint8_t, kCapacity + 1> bytes_{};
    size_t pos_ = 0;
    size_t end_ = 0;
};

}  // namespace tarnwick
