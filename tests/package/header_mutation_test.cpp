// A good package mutated many times over (seeded, so a failure can be replayed): every
// parse ends with 0 or 1 and a consistent model. Under the sanitizer build this also
// catches reads past a line's text or the line buffer.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "package/header_parser.h"
#include "package/package_fixture.h"

namespace tarnwick {
namespace {

void mutate(std::vector<uint8_t>& bytes, std::mt19937& rng) {
    static const uint8_t kInteresting[] = {'\r', '\n', 0, ' ', '\t', '-', 'x', 'F', '0', 0xFF};
    for (int e = 1 + static_cast<int>(rng() % 4); e > 0 && !bytes.empty(); --e) {
        const auto at = static_cast<long>(rng() % bytes.size());
        const uint8_t b = rng() % 2 ? static_cast<uint8_t>(rng()) : kInteresting[rng() % sizeof kInteresting];
        switch (rng() % 4) {
            case 0: bytes[static_cast<size_t>(at)] = b; break;
            case 1: bytes.insert(bytes.begin() + at, b); break;
            case 2: bytes.erase(bytes.begin() + at); break;
            default: bytes.resize(static_cast<size_t>(at)); break;
        }
    }
}

TEST(HeaderMutation, EveryMutatedPackageParsesToZeroOrOneWithAConsistentModel) {
    constexpr int kRounds = 15000;
    const std::vector<uint8_t> original = pkgbuild::buildPackage(testing_package::smallPackage());
    std::mt19937 rng(0x7A12);
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<uint8_t> bytes = original;
        mutate(bytes, rng);
        UpdatePackage pkg;
        std::FILE* f = testing_package::memoryStream(bytes);
        const HeaderParseResult r = parseHeader(f, pkg);
        std::fclose(f);
        ASSERT_EQ(r.result == 1, r.message == nullptr) << "round " << round;
        if (r.result != 1) continue;
        ++accepted;
        ASSERT_TRUE(pkg.componentCount >= 1 && pkg.componentCount <= kMaxComponents) << "round " << round;
        for (int p = 0; p < pkg.componentCount; ++p) {
            const uint8_t id = pkg.order[static_cast<size_t>(p)];
            ASSERT_TRUE(id >= 1 && id <= kMaxTargetId) << "round " << round;
            ASSERT_TRUE(pkg.positionOfId[id] >= p && pkg.positionOfId[id] < pkg.componentCount) << "round " << round;
        }
    }
    // Mutations in the data or unread columns keep the package good: both outcomes occur.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kRounds);
}

}  // namespace
}  // namespace tarnwick
