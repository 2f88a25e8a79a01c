// The simulated network module through the program's own module commands and TFTP client.
#include <gtest/gtest.h>

#include "link/target_link.h"
#include "sim_net_module.h"
#include "support/fast_clock.h"
#include "support/recording_link_owner.h"
#include "support/socket_transport.h"
#include "update/ethernet/tftp_client.h"

namespace tarnwick::test {
namespace {

using sim::ModuleMode;

class NetModule : public ::testing::Test {
protected:
    FastClock clock{1};
    RecordingLinkOwner owner;
    SocketTransport* wire = nullptr;
    std::unique_ptr<TargetLink> link;
    std::unique_ptr<sim::SimNetModule> module;
    std::string moduleAddress;  // an address of its own for each test: they may run side by side

    void start(const char* address, sim::NetModuleConfig config) {
        moduleAddress = address;
        config.address = moduleAddress;
        config.tftpPort = 0;
        config.bootRestartMs = config.appRestartMs = 0;
        module = std::make_unique<sim::SimNetModule>(config);
        ASSERT_TRUE(module->start()) << module->error();
        auto transport = std::make_unique<SocketTransport>();
        wire = transport.get();
        link = std::make_unique<TargetLink>(std::move(transport), clock);
        link->setOwner(&owner);
        ASSERT_TRUE(wire->connect(moduleAddress, 5001));
    }
    // Connects anew: the module restarts at once (restart time 0), closing the connection.
    bool reconnectIn(ModuleMode mode) { return module->mode() == mode && wire->connect(moduleAddress, 5001); }
    int put(uint8_t kind, const std::vector<uint8_t>& data) {
        TftpClient client(clock);
        client.setServerPort(module->tftp().port());
        return client.open(moduleAddress.c_str()) ? client.put(0x51, kind, "NET_0102.bcd", data.data(), data.size()) : -1;
    }
};

TEST_F(NetModule, ImageGoesInThroughTheBootLoaderAndTheModuleReturnsToItsApplication) {
    ASSERT_NO_FATAL_FAILURE(start("127.0.0.42", {}));
    const std::vector<uint8_t> image(1500, 0x3C);
    EXPECT_EQ(link->startBootloader(0x51), 0);
    ASSERT_TRUE(reconnectIn(ModuleMode::Bootloader));
    EXPECT_EQ(link->eraseImage(0x51), 0);
    EXPECT_EQ(link->updateImage(0x51), 0);
    EXPECT_EQ(put(3, image), 1);
    EXPECT_EQ(link->awaitOk(0x51), 1);
    EXPECT_EQ(link->startImage(0x51), 0);
    ASSERT_TRUE(reconnectIn(ModuleMode::Application));
    EXPECT_EQ(link->startImage(0x51), 0);  // the ">" prompt: no command
    EXPECT_EQ(module->images()["image"], image);
    EXPECT_EQ(module->events(),
              (std::vector<std::string>{"connect", "command ", "command start bootloader", "restart bootloader",
                                        "mode bootloader", "connect", "command erase image", "command update image",
                                        "stored image 1500", "command ", "command start image",
                                        "restart application", "mode application", "connect", "command "}));
    EXPECT_TRUE(owner.linkErrors.empty());
}

}  // namespace
}  // namespace tarnwick::test
