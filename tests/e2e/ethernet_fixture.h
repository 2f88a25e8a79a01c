// The simulated product on the network, on its own ports 23 and 5000 of a loopback address
// of the test's own (derived from the test's name, so tests running side by side do not
// meet), and a main window with Ethernet chosen. Binding those ports needs privileges;
// without them the test says so and skips.
#pragma once

#include <array>

#include "e2e/serial_update_fixture.h"
#include "sim_tcp_server.h"

namespace tarnwick::test {

class EthernetTest : public SerialUpdateTest {
protected:
    sim::TcpOptions net{.restartDelayMs = 0};
    std::array<uint8_t, 4> address{127, 0, 0, 0};
    std::unique_ptr<sim::SimTcpServer> server;

    EthernetTest() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const size_t h = std::hash<std::string>{}(std::string(info->test_suite_name()) + "." + info->name());
        address = {127, static_cast<uint8_t>(100 + h % 100), static_cast<uint8_t>(h >> 8),
                   static_cast<uint8_t>(1 + (h >> 16) % 250)};
        net.address = "127." + std::to_string(address[1]) + "." + std::to_string(address[2]) + "." +
                      std::to_string(address[3]);
        for (auto& c : pkg.components) c.attributes = kAttrRs232c | kAttrEthernetFrames;
    }
    void TearDown() override {
        window.reset();
        if (server) server->stop();
    }

    // Starts the product; false when it cannot listen (a failure unless not permitted:
    // the test then skips with kNotPermitted).
    bool startProduct() {
        server = std::make_unique<sim::SimTcpServer>(product, net);
        if (server->start()) return true;
        if (server->errorNumber() != EACCES) ADD_FAILURE() << server->error();
        return false;
    }
    static constexpr const char* kNotPermitted = "binding ports 23 and 5000 is not permitted here";
    // The product, the package and the window with "Ethernet" and the product's address.
    bool startEthernet(const std::string& tcpPortText = "5000") {
        if (!startProduct()) return false;
        const std::string path = dir + "/package.bin";
        EXPECT_EQ(pkgbuild::writePackage(path, pkg), 1);
        window = std::make_unique<MainWindow>(dialog, clock, tone);
        window->initDialog();
        dialog.cancelOpenFile = false;
        dialog.fileToOpen = path;
        window->onLoad();
        EXPECT_TRUE(window->packageLoaded);
        dialog.controls.commType = 1;
        dialog.controls.ipAddress = address;
        dialog.controls.tcpPortText = tcpPortText;
        window->onCommTypeChanged();
        dialog.boxes.clear();
        clock.settles.clear();
        server->clearLog();
        return true;
    }
    sim::SimEngine& productEngine() const override { return server->engine(); }
    // What the product saw on a port (its log lines begin with the port number), without the
    // data blocks, acknowledgements and "open" lines.
    Strings onPort(uint16_t port) const {
        Strings out;
        const std::string prefix = std::to_string(port) + " ";
        for (const std::string& e : server->log()) {
            if (e.rfind(prefix, 0) == 0 && e.find(" frame P ") == std::string::npos && e.find(" frame A ") == std::string::npos &&
                e.find(" open") == std::string::npos && e.find("closed by") == std::string::npos) {
                out.push_back(e.substr(prefix.size()));
            }
        }
        return out;
    }
};

}  // namespace tarnwick::test
