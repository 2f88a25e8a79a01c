// Interrupted updates recover: the product loses power after each message of a complete
// RS-232C update in turn. The interrupted run ends with an error
// box (or, cut after its last message, with every component written); a second run that
// answers Yes to the recovery question completes, and the product then holds the package.
// TARNWICK_POWER_CUT_STEP walks every k-th point (default 9, for CI; 1 walks them all,
// which takes minutes of real time: every cut waits out its silence budgets).
#include "e2e/power_cut_walk.h"
#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

class PowerCutWalk : public SerialUpdateTest {
protected:
    // The fixture's package (MAIN and DSP, the DSP behind a switch) on its product. The
    // sample package cannot serve: its BOOT part (write method 5) always counts as failed,
    // so the "ALL device update." of a recovery can never complete over RS-232C.
    void bootProduct(int cutAfter) {
        window.reset();
        if (sim) sim->stop();
        product.powerCutAfter = cutAfter;
        start();
    }
    // The uncut update wrote what the product holds of each component afterwards; those
    // components (the others carry the product's version) must be in its memory.
    std::vector<bool> updated = std::vector<bool>(pkg.components.size(), false);
    bool holdsThePackage() {
        sim->waitUntilIdle();
        for (size_t i = 0; i < pkg.components.size(); ++i) if (updated[i] && !written(i)) return false;
        return true;
    }
    // One interrupted run and its recovery; true when the product holds the package.
    bool recovers(int n) {
        const int first = pressUpdate({});
        EXPECT_TRUE(sim->engine().poweredOff()) << "point " << n;
        if (first == 0) return holdsThePackage();  // cut after the last message: the update was through
        EXPECT_TRUE(!dialog.boxes.empty() && dialog.boxes.back().kind == BoxKind::Error) << "point " << n;
        sim->engine().restorePower();
        dialog.boxes.clear();
        const int second = pressUpdate({kAnswerYes, kAnswerYes, kAnswerYes});
        EXPECT_EQ(second, 0) << "point " << n << ": " << ::testing::PrintToString(texts(dialog.boxes));
        return second == 0 && holdsThePackage();
    }
};

TEST_F(PowerCutWalk, EveryInterruptedUpdateRecovers) {
    bootProduct(-1);
    ASSERT_EQ(pressUpdate({}), 0);
    sim->waitUntilIdle();
    for (size_t i = 0; i < pkg.components.size(); ++i) updated[i] = written(i);
    const int messages = sim->engine().messagesTaken();
    ASSERT_GT(messages, 8);
    const std::vector<int> points = pointsToCut(Strings(static_cast<size_t>(messages)), 9);
    int recovered = 0;
    for (int n : points) {
        bootProduct(n);
        const bool held = recovers(n);
        EXPECT_TRUE(held) << "point " << n;
        recovered += held ? 1 : 0;
    }
    expectEveryPointRecovered("power-cut walk over " + std::to_string(messages) + " messages", static_cast<int>(points.size()),
                              recovered);
}

}  // namespace
}  // namespace tarnwick::test
