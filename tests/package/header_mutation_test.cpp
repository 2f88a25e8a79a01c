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

using testing_package::memoryStream;

void mutate(std::vector<uint8_t>& bytes, std::mt19937& rng) {
    static const uint8_t kInteresting[] = {'\r', '\n', 0, ' ', '\t', '-', 'x', 'F', '0', 0xFF};
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        const size_t at = rng() % bytes.size();
        switch (rng() % 6) {
            case 0: bytes[at] = static_cast<uint8_t>(rng()); break;
            case 1: bytes[at] = kInteresting[rng() % sizeof kInteresting]; break;
            case 2: bytes.insert(bytes.begin() + static_cast<long>(at), kInteresting[rng() % sizeof kInteresting]); break;
            case 3: bytes.erase(bytes.begin() + static_cast<long>(at)); break;
            case 4: bytes.resize(at); break;
            default: {
                const size_t len = 1 + rng() % 300;
                const size_t end = std::min(bytes.size(), at + len);
                std::vector<uint8_t> chunk(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(end));
                bytes.insert(bytes.begin() + static_cast<long>(rng() % bytes.size()), chunk.begin(), chunk.end());
            }
        }
    }
}

void expectConsistent(const HeaderParseResult& r, const UpdatePackage& pkg) {
    ASSERT_TRUE(r.result == 0 || r.result == 1);
    ASSERT_EQ(r.result == 1, r.message == nullptr);
    if (r.result != 1) return;
    ASSERT_GE(pkg.componentCount, 1);
    ASSERT_LE(pkg.componentCount, kMaxComponents);
    for (int p = 0; p < pkg.componentCount; ++p) {
        const uint8_t id = pkg.order[static_cast<size_t>(p)];
        ASSERT_GE(id, 1);
        ASSERT_LE(id, kMaxTargetId);
        ASSERT_GE(pkg.positionOfId[id], p);
        ASSERT_LT(pkg.positionOfId[id], pkg.componentCount);
        ASSERT_EQ(pkg.components[static_cast<size_t>(p)].id, id);
    }
}

TEST(HeaderMutation, EveryMutatedPackageParsesToZeroOrOne) {
    constexpr int kRounds = 15000;
    const pkgbuild::PackageDescription good = testing_package::smallPackage();
    const std::vector<uint8_t> original = pkgbuild::buildPackage(good);
    std::mt19937 rng(0x7A12);
    int accepted = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<uint8_t> bytes = original;
        mutate(bytes, rng);
        UpdatePackage pkg;
        std::FILE* f = memoryStream(bytes);
        ASSERT_NE(f, nullptr);
        const HeaderParseResult r = parseHeader(f, pkg);
        std::fclose(f);
        expectConsistent(r, pkg);
        if (HasFatalFailure()) {
            ADD_FAILURE() << "round " << round;
            return;
        }
        accepted += r.result;
    }
    // Mutations in the data or unread columns keep the package good: both outcomes occur.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kRounds);
}

}  // namespace
}  // namespace tarnwick
