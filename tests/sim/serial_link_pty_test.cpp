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

// The open is exclusive; closed between two steps, the device stays locked to the link
// until it goes.
TEST(SerialOverPty, PortOpensOnlyForKnownNumbersAndRatesAndOnlyOnce) {
    sim::SimServer product{sim::SimConfig{}};
    ASSERT_TRUE(product.startPty()) << product.error();
    ScopedEnv ports("TARNWICK_SERIAL_PORTS", product.slavePath());
    FastClock clock;
    std::unique_ptr<TargetLink> link = makeSerialLink(clock);
    EXPECT_EQ(link->openPort(0, 5) + link->openPort(1, 0), 0);  // no such rate, no such port
    EXPECT_TRUE(clock.settles.empty());
    ASSERT_EQ(link->openPort(0, 4), 1);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>{1000});
    SerialPort other(clock);
    EXPECT_EQ(other.open(0, 0), 0);
    EXPECT_EQ(link->closePort(), 1);
    EXPECT_EQ(other.open(0, 0), 0);
    const int outsider = ::open(product.slavePath().c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(outsider, 0);
    EXPECT_NE(flock(outsider, LOCK_EX | LOCK_NB), 0);
    link.reset();
    EXPECT_EQ(flock(outsider, LOCK_EX | LOCK_NB), 0);
    ::close(outsider);
    EXPECT_EQ(other.open(0, 0), 1);
    product.stop();
}

}  // namespace
}  // namespace tarnwick::test
