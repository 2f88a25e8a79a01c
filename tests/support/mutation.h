// Seeded, bounded mutation of good inputs: each round takes one of the seeds, changes,
// inserts, removes or cuts a few bytes, and hands the result to a check. Seeded, so that a
// failing round can be replayed from its number.
#pragma once
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace tarnwick::test {

using Bytes = std::vector<uint8_t>;

inline void mutate(Bytes& bytes, std::mt19937& rng) {
    static const uint8_t kInteresting[] = {'\r', '\n', 0, ' ', '\t', ':', ';', '.', 'x', 'F', '0', 0xAA, 0xFF};
    for (int e = 1 + static_cast<int>(rng() % 4); e > 0 && !bytes.empty(); --e) {
        const auto at = static_cast<std::ptrdiff_t>(rng() % bytes.size());
        const uint8_t b = rng() % 2 ? static_cast<uint8_t>(rng()) : kInteresting[rng() % sizeof kInteresting];
        switch (rng() % 5) {
            case 0: bytes[static_cast<size_t>(at)] = b; break;
            case 1: bytes.insert(bytes.begin() + at, b); break;
            case 2: bytes.erase(bytes.begin() + at); break;
            case 3: bytes.insert(bytes.begin() + at, bytes.begin() + at, bytes.end()); break;  // repeat the tail
            default: bytes.resize(static_cast<size_t>(at)); break;
        }
    }
}

// The check returns "" for a sane outcome, else what was wrong. The result is "" when every
// round was sane, else the first complaint with its round number.
inline std::string mutationRounds(uint32_t seed, int rounds, const std::vector<Bytes>& seeds,
                                  const std::function<std::string(const Bytes&)>& check) {
    std::mt19937 rng(seed);
    for (int round = 0; round < rounds; ++round) {
        Bytes bytes = seeds[static_cast<size_t>(round) % seeds.size()];
        mutate(bytes, rng);
        if (std::string wrong = check(bytes); !wrong.empty()) return "round " + std::to_string(round) + ": " + wrong;
    }
    return "";
}

}  // namespace tarnwick::test
