// The serial port over a real pseudo-terminal against the simulated product; whole
// conversations over it are in the end-to-end tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

#include "platform/serial_port.h"
#include "sim_server.h"
#include "support/fast_clock.h"

namespace tarnwick::test {
namespace {

TEST(SerialOverPty, PortOpensOnlyAnExistingDeviceAtAKnownRateAndOnlyOnce) {
    sim::SimServer product{sim::SimConfig{}};
    ASSERT_TRUE(product.startPty()) << product.error();
    const std::string device = product.slavePath();
    FastClock clock;
    auto port = std::make_unique<SerialPort>(clock);
    EXPECT_EQ(port->open(device, 5), 0);
    EXPECT_EQ(port->open(device + "-missing", 0), 0);
    EXPECT_EQ(port->close(), 0);
    EXPECT_TRUE(clock.settles.empty());
    ASSERT_EQ(port->open(device, 4), 1);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>{1000});
    SerialPort other(clock);
    EXPECT_EQ(other.open(device, 0), 0);  // open is exclusive
    EXPECT_EQ(port->open("", 0), 0);      // no device leaves the open port as it was
    EXPECT_EQ(port->close(), 1);
    // Closed between two steps, the device stays locked to the port until it goes.
    EXPECT_EQ(other.open(device, 0), 0);
    const int outsider = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(outsider, 0);
    EXPECT_NE(flock(outsider, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(port->open(device, 4), 1);
    port.reset();
    EXPECT_EQ(flock(outsider, LOCK_EX | LOCK_NB), 0);
    flock(outsider, LOCK_UN);
    ::close(outsider);
    EXPECT_EQ(other.open(device, 0), 1);
    EXPECT_EQ(other.close(), 1);
    product.stop();
}

}  // namespace
}  // namespace tarnwick::test
