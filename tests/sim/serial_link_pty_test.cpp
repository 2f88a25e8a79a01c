// The serial link over a real pseudo-terminal against the simulated product.
#include <gtest/gtest.h>

#include <cstdlib>
#include <numeric>

#include "app/main_window.h"
#include "link/target_link.h"
#include "platform/posix/serial_port.h"
#include "package/crc32_words.h"
#include "platform/serial_candidates.h"
#include "sim_server.h"
#include "support/fast_clock.h"
#include "support/recording_dialog.h"
#include "support/recording_link_owner.h"
#include "support/recording_tone.h"

namespace tarnwick::test {
namespace {

class SerialOverPty : public ::testing::Test {
protected:
    sim::SimConfig config;
    std::unique_ptr<sim::SimServer> product;
    FastClock clock;
    RecordingLinkOwner owner;
    std::unique_ptr<TargetLink> link;

    void start() {
        product = std::make_unique<sim::SimServer>(config);
        ASSERT_TRUE(product->startPty()) << product->error();
        setenv("TARNWICK_SERIAL_PORTS", product->slavePath().c_str(), 1);
        link = makeSerialLink(clock);
        link->setOwner(&owner);
    }
    void TearDown() override {
        link.reset();
        if (product) product->stop();
        setenv("TARNWICK_SERIAL_PORTS", "", 1);
    }
};

TEST_F(SerialOverPty, PortOpensOnlyForKnownNumbersAndRates) {
    start();
    EXPECT_EQ(serialDevicePath(0), product->slavePath());
    EXPECT_EQ(serialDevicePath(1), "");
    EXPECT_EQ(link->openPort(0, 5), 0);
    EXPECT_EQ(link->openPort(16, 0), 0);
    EXPECT_EQ(link->openPort(1, 0), 0);
    EXPECT_EQ(link->closePort(), 0);
    EXPECT_TRUE(clock.settles.empty());
    ASSERT_EQ(link->openPort(0, 4), 1);
    EXPECT_EQ(clock.settles, std::vector<uint32_t>{1000});
    // Open is exclusive: a second port on the same device is refused.
    SerialPort other(clock);
    EXPECT_EQ(other.open(0, 0), 0);
    // A bad index leaves the open port as it was.
    EXPECT_EQ(link->openPort(16, 0), 0);
    EXPECT_EQ(link->closePort(), 1);
    EXPECT_EQ(other.open(0, 0), 1);
    EXPECT_EQ(other.purge(), 1);
    EXPECT_EQ(other.close(), 1);
    EXPECT_EQ(other.purge(), 0);
}

TEST_F(SerialOverPty, WholeUpdateConversation) {
    config.infoKinds[0x11] = sim::InfoKind::Crc32Words;
    config.infoKinds[0x15] = sim::InfoKind::StatusWord;
    start();
    // Normal mode at 9600 bit/s.
    ASSERT_EQ(link->openPort(0, 0), 1);
    ASSERT_EQ(link->queryTargetInfo(), 1);
    EXPECT_EQ(link->targetInfo.model, "TWK-7000");
    link->setPackageCommand("0042");
    ASSERT_EQ(link->setPackage(), 1);
    EXPECT_EQ(product->engine().packageId(), "0042");
    ASSERT_EQ(link->enterUpdateMode(), 1);
    link->closePort();
    // Update mode at 115200 bit/s.
    ASSERT_EQ(link->openPort(0, 4), 1);
    ASSERT_EQ(link->connectTarget(0x01, 5), 1);
    ASSERT_EQ(link->switchTarget(0x01, 0x11, 0), 0);
    link->closePort();
    ASSERT_EQ(link->openPort(0, 4), 1);
    ASSERT_EQ(link->connectTarget(0x11, 5), 1);
    std::vector<uint8_t> data(5000);
    for (size_t k = 0; k < data.size(); ++k) data[k] = static_cast<uint8_t>(k ^ (k >> 8));
    ASSERT_EQ(link->eraseAndWrite(0x11, 0x0203, 0x8000, 0x8000 + 4999, data.data(), 5000), 1);
    std::vector<uint8_t> buffer(kReadBackBufferSize);
    uint32_t count = 0;
    ASSERT_EQ(link->readBack(0x11, 0x8000, 0x8000 + 4999, buffer.data(), count), 1);
    ASSERT_EQ(count, 5000u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), buffer.begin()));
    ASSERT_EQ(link->requestInfo(0x11, 0x8000, 0x8000 + 4999, 3), 1);
    uint32_t crc = 0;
    Crc32Words(data.data(), 5000, crc);
    EXPECT_EQ(link->infoAnswer(3).entryValues[2], crc);
    ASSERT_EQ(link->requestInfo(0x15, 0, 0, 0x15), 1);
    EXPECT_EQ(link->infoAnswer(0x15).entryValues[0x14] >> 16, 0x4F4Bu);
    // Back to normal mode.
    ASSERT_EQ(link->switchTarget(0x01, 0x10, 0), 0);
    ASSERT_EQ(link->enterNormalMode(), 1);
    EXPECT_EQ(product->engine().mode(), sim::ProductMode::Normal);
    EXPECT_EQ(product->engine().slotVersion(2), "0203");
    EXPECT_TRUE(owner.linkErrors.empty());
    EXPECT_TRUE(owner.checkErrors.empty());
}

TEST_F(SerialOverPty, ProductFaultsReachTheOwnerAsErrorRecords) {
    config.startInUpdateMode = true;
    config.absentTargets.insert(0x31);
    config.faults.push_back({sim::FaultKind::Error, 'L', 0x01, 0, 1, 0xE8});
    config.faults.push_back({sim::FaultKind::BadChecksum, 'C', 0x01, 0, 4});
    start();
    ASSERT_EQ(link->openPort(0, 4), 1);
    // A product in update mode does not answer the text query.
    EXPECT_EQ(link->queryTargetInfo(), 0);
    EXPECT_EQ(link->connectTarget(0x01, 1), 0);
    EXPECT_EQ(owner.linkErrors.back().errorCode, kErrRetry);
    EXPECT_EQ(link->switchTarget(0x01, 0x31, 0), static_cast<int>(kErrRetry));
    EXPECT_EQ(link->erase(0x01, 0, 1, 0, 0xFF), static_cast<int>(kErrReply));
    EXPECT_EQ(link->lastErrorCode(), 0xE8);
    EXPECT_EQ(link->connectTarget(0x31, 1), 0);
    EXPECT_EQ(owner.linkErrors.back().errorCode, kErrTimeout);
    EXPECT_EQ(owner.linkErrors.size(), 4u);
}

TEST(PortEnumeration, ListsEveryCandidateThatOpens) {
    sim::SimServer a{sim::SimConfig{}};
    sim::SimServer b{sim::SimConfig{}};
    ASSERT_TRUE(a.startPty());
    ASSERT_TRUE(b.startPty());
    std::string list = a.slavePath() + ":/nonexistent/tty:" + b.slavePath();
    setenv("TARNWICK_SERIAL_PORTS", list.c_str(), 1);
    RecordingDialog dialog;
    FastClock clock;
    RecordingTone tone;
    MainWindow window(dialog, clock, tone);
    window.enumeratePorts();
    setenv("TARNWICK_SERIAL_PORTS", "", 1);
    EXPECT_EQ(dialog.portList, (std::vector<std::string>{"COM1", "COM3"}));
    ASSERT_EQ(window.portTable.count, 2);
    EXPECT_EQ(window.portTable.number[0], 0);
    EXPECT_EQ(window.portTable.number[1], 2);
    EXPECT_STREQ(window.portTable.name[1].data(), "COM3");
    EXPECT_EQ(clock.settles.size(), 2u);
}

}  // namespace
}  // namespace tarnwick::test
