// The TCP channel and the link over it on real loopback sockets, against the simulated
// product listening on 127.0.0.N.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "link/target_link.h"
#include "platform/command_channel.h"
#include "sim_tcp_server.h"
#include "support/fast_clock.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
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

TEST(CommandChannelConnect, UnansweredEndsAtTheBound) {
    sockaddr_in at{AF_INET, 0, {htonl(0x7F00005B)}, {}};  // 127.0.0.91
    auto full = fullListener(at);
    CommandChannel channel(200ms);
    const auto t0 = Clock::now();
    EXPECT_EQ(channel.connect("127.0.0.91", ntohs(at.sin_port)), 0);
    EXPECT_GE(secondsSince(t0), 0.2);
    EXPECT_LT(secondsSince(t0), 5.0);
    channel.close();
    for (int fd : full) ::close(fd);
}

// With 60 s answer waits, only the product's close can end these waits in time.
TEST(TcpProduct, TheProductClosingTheConnectionEndsAWaitAtOnce) {
    sim::SimTcpServer product({}, {.address = "127.0.0.92", .textPort = 0, .commandPort = 0, .updatePort = 0,
                                   .restartDelayMs = 0, .closeAfterBytes = 4});
    ASSERT_TRUE(product.start()) << product.error();
    FastClock clock;
    CommandChannel channel;
    TargetLink link(channel, clock);
    // Each wait is true when it ended with the read failure of the closed connection.
    using Wait = std::function<bool(TargetLink&)>;
    const struct { const char* name; Wait failedRead; } cases[] = {
        {"frame", [](TargetLink& l) { return l.sendAck(1) && l.receiveFrame(1, 600s) == ReceiveResult::ReadFailed; }},
        {"line", [](TargetLink& l) { return l.sendText("VIALL?\r") && l.readLine("VIALL", 60s) == ErrorCode::Comm; }},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(channel.connect("127.0.0.92", product.options().commandPort), 1);
        const auto t0 = Clock::now();
        EXPECT_TRUE(c.failedRead(link)) << c.name;
        EXPECT_LT(secondsSince(t0), 5.0) << c.name;
        channel.close();
    }
}

}  // namespace
}  // namespace tarnwick::test
