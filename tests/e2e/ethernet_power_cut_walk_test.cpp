// Interrupted Ethernet updates recover: the product loses power after a message of a complete
// update (MAIN, DSP behind a switch, an image for the network module), or the network module
// loses it after one of its command lines. The interrupted run
// ends with an error box; a second run that answers Yes to the recovery question completes,
// and the product and its module then hold the package. By default one point a distinct
// message or command line (each state and each component), and the last; with
// TARNWICK_POWER_CUT_STEP=k every k-th.
#include <cstdlib>
#include <map>

#include "e2e/ethernet_fixture.h"
#include "sim_net_module.h"

namespace tarnwick::test {
namespace {

class EthernetPowerCutWalk : public EthernetTest {
protected:
    std::unique_ptr<sim::SimNetModule> module;

    EthernetPowerCutWalk() {
        auto image = SerialUpdateTest::component(0x41, "NETIMG", "0300", "41", 7, 0x600);
        image.attributes = 4u | 3u << 16;  // network module, kind 3 (image)
        pkg.components.push_back(image);
    }
    bool boot(int cutAfter, int moduleCutAfter = -1) {
        window.reset();
        if (server) server->stop();
        module.reset();
        sim::NetModuleConfig moduleConfig{.bootRestartMs = 0, .appRestartMs = 0};
        moduleConfig.address = net.address;
        moduleConfig.powerCutAfter = moduleCutAfter;
        module = std::make_unique<sim::SimNetModule>(moduleConfig);
        if (!module->start()) return false;
        product.powerCutAfter = cutAfter;
        return startEthernet();
    }
    int press(std::deque<int> answers) {
        dialog.answers = std::move(answers);
        window->onUpdate();
        return window->lastResultCode;
    }
    bool holdsThePackage() {
        return written(0) && written(1) && module->images()["image"] == pkg.components[2].data;
    }
    // The messages of the uncut update, in order ("text RBUPDATE", "frame P 11", ...), then the
    // module's command lines ("command start bootloader", ...).
    static Strings starting(const Strings& events, const char* a, const char* b) {
        Strings out;
        for (const std::string& e : events) {
            if (e.rfind(a, 0) == 0 || e.rfind(b, 0) == 0) out.push_back(e);
        }
        return out;
    }
    // One interrupted run and its recovery; true when the product and module hold the package.
    bool recovers(const std::string& point) {
        const int first = press({});
        EXPECT_TRUE(server->engine().poweredOff() || module->poweredOff()) << point;
        if (first == 0) return holdsThePackage();  // cut after the last message: the update was through
        EXPECT_TRUE(!dialog.boxes.empty() && dialog.boxes.back().kind == BoxKind::Error) << point;
        server->restorePower();
        module->restorePower();
        dialog.boxes.clear();
        const int second = press({kAnswerYes, kAnswerYes, kAnswerYes});
        EXPECT_EQ(texts(dialog.boxes).back(), "Update completed.") << point;
        return second == 0 && holdsThePackage();
    }
};

std::vector<int> pointsToCut(const Strings& messages) {
    const char* step = std::getenv("TARNWICK_POWER_CUT_STEP");
    const int k = step != nullptr ? std::atoi(step) : 0;
    std::vector<int> points;
    std::map<std::string, int> first;
    for (int n = 1; n <= static_cast<int>(messages.size()); ++n) {
        const bool chosen = k > 0 ? (n - 1) % k == 0 : first.emplace(messages[size_t(n - 1)], n).second;
        if (chosen || n == static_cast<int>(messages.size())) points.push_back(n);
    }
    return points;
}

TEST_F(EthernetPowerCutWalk, EveryInterruptedUpdateRecovers) {
    if (!boot(-1)) GTEST_SKIP() << kNotPermitted;
    ASSERT_EQ(press({}), 0);
    ASSERT_TRUE(holdsThePackage());
    const Strings uncut = starting(server->engine().events(), "text ", "frame ");
    const Strings commands = starting(module->events(), "command ", "command ");
    int points = 0;
    int recovered = 0;
    for (int product : {1, 0}) {
        const Strings& walk = product ? uncut : commands;
        for (int n : pointsToCut(walk)) {
            ASSERT_TRUE(product ? boot(n) : boot(-1, n));
            const bool held = recovers((product ? "product cut after " : "module cut after ") + walk[size_t(n - 1)]);
            EXPECT_TRUE(held) << n << " " << walk[size_t(n - 1)];
            ++points;
            recovered += held ? 1 : 0;
        }
    }
    RecordProperty("points", points);
    RecordProperty("recovered", recovered);
    std::printf("Ethernet power-cut walk: %d points of %zu messages and %zu module commands, %d recovered\n", points,
                uncut.size(), commands.size(), recovered);
    EXPECT_EQ(recovered, points);
}

}  // namespace
}  // namespace tarnwick::test
