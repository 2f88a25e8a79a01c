// The TCP channel and the link over it on real loopback sockets, against the simulated
// product listening on 127.0.0.N.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "link/target_link.h"
#include "platform/posix/command_channel.h"
#include "sim_tcp_server.h"
#include "support/fast_clock.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// A listener whose queue is full, so that a further connect is never answered: fds[0]
// listens, the others wait in its queue.
std::vector<int> fullListener(sockaddr_in& at) {
    std::vector<int> fds{socket(AF_INET, SOCK_STREAM, 0)};
    socklen_t length = sizeof at;
    bind(fds[0], reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(fds[0], 0);
    getsockname(fds[0], reinterpret_cast<sockaddr*>(&at), &length);
    for (int k = 0; k < 3; ++k) {
        fds.push_back(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        connect(fds.back(), reinterpret_cast<sockaddr*>(&at), sizeof at);
    }
    return fds;
}

TEST(CommandChannelConnect, RefusedFailsAtOnceAndUnansweredEndsAtTheBound) {
    sockaddr_in at{AF_INET, 0, {htonl(0x7F00005B)}, {}};  // 127.0.0.91
    auto full = fullListener(at);
    const struct { const char* name; uint16_t port; double atLeast; } cases[] = {
        {"refused", 1, 0.0},
        {"unanswered", ntohs(at.sin_port), 0.2},
    };
    for (const auto& c : cases) {
        CommandChannel channel(200);
        EXPECT_EQ(channel.close(), 0) << c.name;
        const auto t0 = Clock::now();
        EXPECT_EQ(channel.connect("127.0.0.91", c.port), 0) << c.name;
        EXPECT_GE(secondsSince(t0), c.atLeast) << c.name;
        EXPECT_LT(secondsSince(t0), 5.0) << c.name;
        // The failed connect left the channel open until close; a second close does nothing.
        EXPECT_EQ(channel.close(), 1) << c.name;
        EXPECT_EQ(channel.close(), 0) << c.name;
    }
    for (int fd : full) ::close(fd);
}

class TcpProduct : public ::testing::Test {
protected:
    sim::SimConfig config;
    sim::TcpOptions options{.address = "127.0.0.92", .textPort = 0, .commandPort = 0, .updatePort = 0,
                            .restartDelayMs = 0};
    std::unique_ptr<sim::SimTcpServer> product;
    FastClock clock;
    std::unique_ptr<TargetLink> link = makeTcpLink(clock);

    void start() {
        product = std::make_unique<sim::SimTcpServer>(config, options);
        ASSERT_TRUE(product->start()) << product->error();
    }
    const sim::TcpOptions& ports() const { return product->options(); }
};

// With 60 s answer waits, only the product's close can end these waits in time.
TEST_F(TcpProduct, TheProductClosingTheConnectionEndsAWaitAtOnce) {
    options.closeAfterBytes = 4;
    start();
    using Wait = std::function<int(TargetLink&)>;
    const struct { const char* name; Wait wait; int expected; } cases[] = {
        {"frame", [](TargetLink& l) { return l.sendAck(1), static_cast<int>(l.receiveFrame(1, 600)); },
         static_cast<int>(ReceiveResult::ReadFailed)},
        {"line", [](TargetLink& l) { return l.sendText("VIALL?\r"), l.readLine("VIALL", 60); }, kErrComm},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(link->openChannel(ports().address, ports().commandPort), 1);
        const auto t0 = Clock::now();
        EXPECT_EQ(c.wait(*link), c.expected) << c.name;
        EXPECT_LT(secondsSince(t0), 5.0) << c.name;
        link->closeChannel();
    }
}

bool inOrder(const std::vector<std::string>& log, const std::vector<std::string>& wanted) {
    size_t k = 0;
    for (const auto& entry : log) k += k < wanted.size() && entry == wanted[k];
    return k == wanted.size();
}

TEST_F(TcpProduct, TextCommandsAndFramesOverTheirPorts) {
    config.faults.push_back({sim::FaultKind::Nak, 'L', 0xFF, 0, 1});  // scripted faults hold here too
    start();
    TempDir dir;
    ASSERT_TRUE(link->setTrace(dir.file("trace.log")));
    const std::string address = ports().address;
    const auto text = std::to_string(ports().textPort), update = std::to_string(ports().updatePort);
    ASSERT_EQ(link->openChannel(address, ports().textPort), 1);
    EXPECT_EQ(link->queryTargetInfo(), 1);
    EXPECT_STREQ(link->targetInfo.model.data(), "TWK-7000");
    link->closeChannel();
    ASSERT_EQ(link->openChannel(address, ports().commandPort), 1);
    link->setPackageCommand("0042");
    EXPECT_EQ(link->setPackage(), 1);
    EXPECT_EQ(link->enterUpdateMode(), 1);
    link->closeChannel();
    ASSERT_EQ(link->openChannel(address, ports().updatePort), 1);
    EXPECT_EQ(link->connectTarget(1, 5), 1);
    std::vector<uint8_t> data(3000);
    for (size_t k = 0; k < data.size(); ++k) data[k] = static_cast<uint8_t>(k * 13);
    EXPECT_EQ(link->eraseAndWrite(1, 0x0200, 0x1000, 0x1000 + 2999, data.data(), 3000), 1);
    std::vector<uint8_t> back(kReadBackBufferSize);
    uint32_t count = 0;
    EXPECT_EQ(link->readBack(1, 0x1000, 0x1000 + 2999, back.data(), count), 1);
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + count), data);
    EXPECT_EQ(link->switchTarget(1, 0x10, 1), 0);
    EXPECT_EQ(link->enterNormalMode(), 1);
    link->closeChannel();
    link->setTrace("");
    EXPECT_EQ(product->engine().mode(), sim::ProductMode::Normal);
    EXPECT_TRUE(inOrder(product->log(), {text + " text VIALL?", update + " text SYPKG 0042", update + " text RBUPDATE",
                                         update + " closed by product", update + " frame C 01", update + " fault L 01",
                                         update + " frame L 01", update + " frame X 01>10",
                                         update + " text RBNORM", update + " closed by product"}));
    std::stringstream trace;
    trace << std::ifstream(dir.file("trace.log")).rdbuf();
    EXPECT_NE(trace.str().find("connect " + address + " port " + text + ": ok"), std::string::npos);
    EXPECT_NE(trace.str().find("close connection to " + address + " port " + update), std::string::npos);
}

// The product's own ports need privileges; without them the test says so and skips.
TEST_F(TcpProduct, OnItsOwnPortsARestartRefusesConnectionsAndPort23CanStayShut) {
    options = {.address = "127.0.0.93", .updatePort = 5005, .restartDelayMs = 60000, .refuseTextPort = true};
    product = std::make_unique<sim::SimTcpServer>(config, options);
    if (!product->start()) {
        if (product->errorNumber() == EACCES) GTEST_SKIP() << "binding ports 23 and 5000 is not permitted here";
        FAIL() << product->error();
    }
    EXPECT_EQ(link->openChannel("127.0.0.93", 23), 0);
    ASSERT_EQ(link->openChannel("127.0.0.93", 5000), 1);
    EXPECT_EQ(link->enterUpdateMode(), 1);
    for (int k = 0; k < 1000 && !product->restarting(); ++k) usleep(1000);
    EXPECT_TRUE(product->restarting());
    EXPECT_EQ(link->openChannel("127.0.0.93", 5005), 0);
}

}  // namespace
}  // namespace tarnwick::test
