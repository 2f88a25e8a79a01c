// Interrupted updates recover: the product loses power after each message of a complete
// RS-232C update in turn. The interrupted run ends with an error
// box (or, cut after its last message, with every component written); a second run that
// answers Yes to the recovery question completes, and the product then holds the package.
// TARNWICK_POWER_CUT_STEP walks every k-th point (default 9, for CI; 1 walks them all,
// which takes minutes of real time: every cut waits out its silence budgets).
#include <cstdlib>
#include <fstream>
#include <iterator>

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
        sim::SimConfig config = product;
        config.powerCutAfter = cutAfter;
        sim = std::make_unique<sim::SimServer>(config);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        setenv("TARNWICK_SERIAL_PORTS", sim->slavePath().c_str(), 1);
        openWindow();
    }
    void openWindow() {
        window = std::make_unique<MainWindow>(dialog, clock, tone);
        window->initDialog();
        dialog.cancelOpenFile = false;
        dialog.fileToOpen = dir + "/package.bin";
        ASSERT_EQ(pkgbuild::writePackage(dialog.fileToOpen, pkg), 1);
        window->onLoad();
        ASSERT_TRUE(window->packageLoaded);
        dialog.controls.commType = 0;
        window->onCommTypeChanged();
        dialog.boxes.clear();
    }
    int press(std::deque<int> answers) {
        dialog.answers = std::move(answers);
        window->onUpdate();
        return window->lastResultCode;
    }
    // Every component the uncut update wrote (the others carry the product's version) is
    // in the product's memory.
    std::vector<bool> written = std::vector<bool>(kMaxComponents, true);
    bool holdsThePackage() {
        sim->waitUntilIdle();
        const UpdatePackage& p = window->package;
        for (int i = 0; i < p.componentCount; ++i) {
            const ComponentEntry& c = p.components[static_cast<size_t>(i)];
            if ((c.attributes & 1u) == 0 || !written[static_cast<size_t>(i)]) continue;
            std::ifstream in(c.dataFilePath, std::ios::binary);
            const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
            if (sim->engine().memory(c.id, c.startAddress, c.startAddress + data.size() - 1) != data) return false;
        }
        return true;
    }
};

TEST_F(PowerCutWalk, EveryInterruptedUpdateRecovers) {
    bootProduct(-1);
    ASSERT_EQ(press({}), 0);
    std::vector<bool> baseline(kMaxComponents, false);
    const int messages = sim->engine().messagesTaken();
    for (int i = 0; i < kMaxComponents; ++i) {
        written.assign(kMaxComponents, false);
        written[static_cast<size_t>(i)] = true;
        const bool held = holdsThePackage();
        baseline[static_cast<size_t>(i)] = held;
    }
    written = baseline;
    ASSERT_GT(messages, 8);
    const char* step = std::getenv("TARNWICK_POWER_CUT_STEP");
    const int k = step != nullptr && std::atoi(step) > 0 ? std::atoi(step) : 9;
    int points = 0;
    int recovered = 0;
    for (int n = 1; n <= messages; n += (n == messages - 1 ? 1 : k)) {
        bootProduct(n);
        ++points;
        const int first = press({});
        const bool cut = sim->engine().poweredOff();
        EXPECT_TRUE(cut) << "point " << n;
        if (first == 0) {  // cut after the last message: the update was through
            EXPECT_TRUE(holdsThePackage()) << "point " << n;
            recovered += holdsThePackage() ? 1 : 0;
            continue;
        }
        EXPECT_TRUE(!dialog.boxes.empty() && dialog.boxes.back().kind == BoxKind::Error) << "point " << n;
        sim->engine().restorePower();
        dialog.boxes.clear();
        const int second = press({kAnswerYes, kAnswerYes, kAnswerYes});
        EXPECT_EQ(second, 0) << "point " << n << ": " << ::testing::PrintToString(texts(dialog.boxes));
        const bool held = second == 0 && holdsThePackage();
        EXPECT_TRUE(held) << "point " << n;
        recovered += held ? 1 : 0;
    }
    RecordProperty("points", points);
    RecordProperty("recovered", recovered);
    std::printf("power-cut walk: %d of %d messages cut, %d recovered\n", points, messages, recovered);
    EXPECT_EQ(recovered, points);
}

}  // namespace
}  // namespace tarnwick::test
