// The serial port over a real pseudo-terminal against the simulated product; whole
// conversations over it are in the end-to-end tests.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include "link/target_link.h"
#include "platform/posix/serial_port.h"
#include "platform/serial_candidates.h"
#include "sim_server.h"
#include "support/fast_clock.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

TEST(SerialOverPty, PortOpensOnlyForKnownNumbersAndRatesAndOnlyOnce) {
    sim::SimServer product{sim::SimConfig{}};
    ASSERT_TRUE(product.startPty()) << product.error();
    ScopedEnv ports("TARNWICK_SERIAL_PORTS", product.slavePath());
    FastClock clock;
    std::unique_ptr<TargetLink> link = makeSerialLink(clock);
    EXPECT_EQ(serialDevicePath(0), product.slavePath());
    EXPECT_EQ(serialDevicePath(1), "");
    EXPECT_EQ(link->openPort(0, 5), 0);
    EXPECT_EQ(link->openPort(1, 0), 0);
    EXPECT_EQ(link->closePort(), 0);
    EXPECT_TRUE(clock.settles.empty());
    ASSERT_EQ(link->openPort(0, 4), 1);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>{1000});
    SerialPort other(clock);
    EXPECT_EQ(other.open(0, 0), 0);  // open is exclusive
    EXPECT_EQ(link->openPort(16, 0), 0);  // a bad index leaves the open port as it was
    EXPECT_EQ(link->closePort(), 1);
    // Closed between two steps, the device stays locked to the link until it goes.
    EXPECT_EQ(other.open(0, 0), 0);
    const int outsider = ::open(product.slavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(outsider, 0);
    EXPECT_NE(flock(outsider, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(link->openPort(0, 4), 1);
    link.reset();
    EXPECT_EQ(flock(outsider, LOCK_EX | LOCK_NB), 0);
    flock(outsider, LOCK_UN);
    ::close(outsider);
    EXPECT_EQ(other.open(0, 0), 1);
    EXPECT_EQ(other.close(), 1);
    EXPECT_EQ(other.purge(), 0);
    link.reset();
    product.stop();
}

}  // namespace
}  // namespace tarnwick::test
