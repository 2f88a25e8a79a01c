// Interrupted Ethernet updates recover: the product loses power after a message of a complete
// update (MAIN, DSP behind a switch, an image for the network module), or the network module
// loses it after one of its command lines. The interrupted run
// ends with an error box; a second run that answers Yes to the recovery question completes,
// and the product and its module then hold the package. By default one point a distinct
// message or command line (each state and each component), and the last; with
// TARNWICK_POWER_CUT_STEP=k every k-th.
#include "e2e/ethernet_fixture.h"
#include "e2e/power_cut_walk.h"
#include "sim_net_module.h"

namespace tarnwick::test {
namespace {

class EthernetPowerCutWalk : public EthernetTest {
protected:
    std::unique_ptr<sim::SimNetModule> module;

    EthernetPowerCutWalk() {
        auto image = SerialUpdateTest::component(0x41, "NETIMG", "0300", "41", 7, 0x600);
        image.attributes = kAttrNetworkModule | 3u << kKindMarkShift;  // kind 3 (image)
        pkg.components.push_back(image);
    }
    bool boot(int cutAfter, int moduleCutAfter = -1) {
        window.reset();
        if (server) server->stop();
        module.reset();
        sim::NetModuleConfig moduleConfig;
        moduleConfig.bootRestartMs = 0;
        moduleConfig.appRestartMs = 0;
        moduleConfig.address = net.address;
        moduleConfig.powerCutAfter = moduleCutAfter;
        module = std::make_unique<sim::SimNetModule>(moduleConfig);
        if (!module->start()) return false;
        product.powerCutAfter = cutAfter;
        return startEthernet();
    }
    bool holdsThePackage() {
        return written(0) && written(1) && module->images()["image"] == pkg.components[2].data;
    }
    // The messages of the uncut update, in order ("text RBUPDATE", "frame P 11", ...), then the
    // module's command lines ("command start bootloader", ...).
    static Strings starting(const Strings& events, const char* a, const char* b) {
        Strings out;
        for (const std::string& e : events) if (e.rfind(a, 0) == 0 || e.rfind(b, 0) == 0) out.push_back(e);
        return out;
    }
    // One interrupted run and its recovery; true when the product and module hold the package.
    bool recovers(const std::string& point) {
        const int first = pressUpdate({});
        EXPECT_TRUE(server->engine().poweredOff() || module->poweredOff()) << point;
        if (first == 0) return holdsThePackage();  // cut after the last message: the update was through
        EXPECT_TRUE(!dialog.boxes.empty() && dialog.boxes.back().kind == BoxKind::Error) << point;
        server->restorePower();
        module->restorePower();
        dialog.boxes.clear();
        const int second = pressUpdate({kAnswerYes, kAnswerYes, kAnswerYes});
        EXPECT_EQ(texts(dialog.boxes).back(), "Update completed.") << point;
        return second == 0 && holdsThePackage();
    }
};

TEST_F(EthernetPowerCutWalk, EveryInterruptedUpdateRecovers) {
    if (!boot(-1)) GTEST_SKIP() << kNotPermitted << " (" << (module ? module->error() : std::string()) << ")";
    ASSERT_EQ(pressUpdate({}), 0);  // uncut: the frame writes, the module's round, then normal mode
    ASSERT_TRUE(holdsThePackage());
    module->stop();  // its own restart may still be finishing
    EXPECT_EQ(server->engine().mode(), sim::ProductMode::Normal);
    EXPECT_EQ(starting(module->events(), "command ", "command ").back(), "command start image");
    const Strings uncut = starting(server->engine().events(), "text ", "frame ");
    const Strings commands = starting(module->events(), "command ", "command ");
    int points = 0, recovered = 0;
    for (int product : {1, 0}) {
        const Strings& walk = product ? uncut : commands;
        for (int n : pointsToCut(walk, 0)) {
            ASSERT_TRUE(product ? boot(n) : boot(-1, n));
            const bool held = recovers((product ? "product cut after " : "module cut after ") + walk[size_t(n - 1)]);
            EXPECT_TRUE(held) << n << " " << walk[size_t(n - 1)];
            ++points;
            recovered += held ? 1 : 0;
        }
    }
    expectEveryPointRecovered("Ethernet power-cut walk over " + std::to_string(uncut.size()) + " messages and " +
                                  std::to_string(commands.size()) + " module commands", points, recovered);
}

}  // namespace
}  // namespace tarnwick::test
