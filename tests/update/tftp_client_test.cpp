// The TFTP client against the simulated module's server on loopback (the blocks that reach
// the server, what is stored, the retransmissions and the one report of a failure), and
// against a server nobody here wrote: Debian's in.tftpd.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include "pkgbuild/package_builder.h"
#include "sim_sockets.h"
#include "sim_tftp_server.h"
#include "support/fast_clock.h"
#include "support/recording_link_owner.h"
#include "support/temp_dir_env.h"
#include "tftpd/tftpd_process.h"
#include "update/ethernet/tftp_client.h"

namespace tarnwick::test {
namespace {

using sim::AckFault;
using sim::AckFaultKind;
using sim::TftpSocketRole;

constexpr const char* kModule = "127.0.0.1";

using Datagrams = std::vector<std::string>;
const std::string kTransferIdError("\0\5\0\5Unknown transfer ID.\0", 25);

struct TransferCase {
    const char* name;
    uint32_t size;
    uint8_t kind;
    std::vector<AckFault> faults;
    bool result;
    std::vector<int> blocks;  // data blocks in the order the server got them
    ErrorCode errorCode = ErrorCode::None;  // of the one report
    uint32_t progress = 0;
    int requests = 1;
    bool foreignPortGetsError = false;
};

const TransferCase kCases[] = {
    {"1024 bytes end with an empty block 3", 1024, 3, {}, 1, {1, 2, 3}},
    {"600 bytes in two blocks", 600, 2, {}, 1, {1, 2}},
    {"an empty image is one empty block", 0, 4, {}, 1, {1}},
    {"split acknowledgement", 600, 1, {{AckFaultKind::Split, 1}}, 1, {1, 2}},
    {"junk before the 00", 600, 1, {{AckFaultKind::LeadingJunk, 1}}, 1, {1, 2}},
    {"acknowledged from another port", 600, 1, {{AckFaultKind::ForeignPort, 1}}, 1, {1, 1, 2}, ErrorCode::None, 0, 1,
     true},
    {"acknowledged from another address", 600, 1, {{AckFaultKind::ForeignAddress, 1}}, 1, {1, 1, 2}},
    {"previous block acknowledged", 1500, 1, {{AckFaultKind::WrongBlock, 2, -1}}, 0, {1, 2, 2, 2, 2}, ErrorCode::Retry, 68},
    {"error packet for a block", 600, 1, {{AckFaultKind::Error, 1}}, 0, {1}, ErrorCode::ProductError, 85},
    {"error packet for the request", 600, 1, {{AckFaultKind::Error, 0}}, 0, {}, ErrorCode::ProductError, 0},
    {"no answer", 600, 1, {{AckFaultKind::Drop, 0, -1}}, 0, {}, ErrorCode::Timeout, 0, 4},
};

class TftpTransfer : public ::testing::TestWithParam<TransferCase> {};

TEST_P(TftpTransfer, ServerGetsTheBlocks) {
    const TransferCase& c = GetParam();
    sim::TftpServerConfig config;
    config.address = kModule;
    config.port = 0;
    config.faults = c.faults;
    sim::SimTftpServer server(config);
    ASSERT_TRUE(server.start()) << server.error();
    // Waits really poll the socket; the pause after the request and a silent server's
    // time-outs pass on the virtual clock.
    FastClock answering(10);
    VirtualClock silent;
    VirtualClock& clock = c.errorCode == ErrorCode::Timeout ? silent : answering;
    RecordingLinkOwner owner;
    TftpClient client(clock);
    client.setOwner(&owner);
    client.setServerPort(server.port());
    ASSERT_TRUE(client.open(kModule));

    const std::vector<uint8_t> data = pkgbuild::patternData(c.size, c.size);
    EXPECT_EQ(client.put(0x51, c.kind, "IMG_0102.bcd", data.data(), c.size), c.result);
    ASSERT_TRUE(server.waitUntilIdle());

    std::map<TftpSocketRole, Datagrams> got;
    std::vector<int> blocks;
    for (const auto& d : server.received()) {
        got[d.socket].emplace_back(d.bytes.begin(), d.bytes.end());
        if (d.socket != TftpSocketRole::Transfer) continue;
        blocks.push_back(d.bytes[2] << 8 | d.bytes[3]);
        for (const std::string& earlier : got[d.socket]) {  // a resent block is the same datagram
            if (earlier.substr(0, 4) == got[d.socket].back().substr(0, 4)) { EXPECT_EQ(earlier, got[d.socket].back()); }
        }
    }
    EXPECT_EQ(blocks, c.blocks);
    EXPECT_EQ(got[TftpSocketRole::Server], Datagrams(c.requests, std::string("\0\2IMG_0102.bcd\0octet\0", 21)));
    EXPECT_EQ(got[TftpSocketRole::ForeignPort], c.foreignPortGetsError ? Datagrams{kTransferIdError} : Datagrams{});
    EXPECT_TRUE(got[TftpSocketRole::ForeignAddress].empty());
    EXPECT_EQ(server.files()["IMG_0102.bcd"], c.result ? data : std::vector<uint8_t>{});
    // The pause comes between the request's acknowledgement and the first block.
    EXPECT_EQ(clock.settles, c.blocks.empty() ? std::vector<uint32_t>{} : std::vector<uint32_t>{3000});
    EXPECT_EQ(silent.now, c.errorCode == ErrorCode::Timeout ? 4 * 3000u : 0u);  // four requests, about 3 s apart
    ASSERT_EQ(owner.linkErrors.size(), c.errorCode != ErrorCode::None ? 1u : 0u);
    for (const ErrorRecord& r : owner.linkErrors) {
        EXPECT_EQ((std::array<uint32_t, 4>{r.targetId, r.errorCode, r.processCode, r.progress}),
                  (std::array<uint32_t, 4>{0x51, numberOf(c.errorCode), kProcUpdate, c.progress}));
    }
    ASSERT_FALSE(owner.statuses.empty());
    const char* const kProgressTexts[] = {"", "Updating(bootloader)...", "Updating(image + cne)...", "Updating(image)...",
                                          "Updating..."};
    EXPECT_EQ(owner.statuses.front().text, kProgressTexts[c.kind]);
    EXPECT_EQ(owner.statuses.back().percent, c.result ? 100 : static_cast<int>(c.progress));
}

INSTANTIATE_TEST_SUITE_P(Cases, TftpTransfer, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return name;
});

// Replies straight from a socket at the module's address, queued before the client waits.
TEST(TftpReplies, AnErrorMessageLongerThanTheReplyBuffer) {
    std::string error;
    int module = sim::bindUdp(kModule, 0, error);
    ASSERT_GE(module, 0) << error;
    VirtualClock clock;
    TftpClient client(clock);
    client.setServerPort(sim::boundPort(module));
    ASSERT_TRUE(client.open(kModule));
    sockaddr_in to{};
    ASSERT_TRUE(sim::socketAddress(kModule, sim::boundPort(client.socket().handle()), to));
    auto send = [&](std::vector<uint8_t> bytes) {
        sendto(module, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    };
    // An ERROR message with no end, over more datagrams than the reply buffer holds.
    std::vector<uint8_t> first = {0, 5, 0, 1};
    first.resize(kTftpPacketSize, 'x');
    send(first);
    send(std::vector<uint8_t>(kTftpPacketSize, 'x'));
    send(std::vector<uint8_t>(kTftpPacketSize, 'x'));
    EXPECT_EQ(client.awaitReply(1), TftpReply::Error);
    EXPECT_EQ(client.awaitReply(1), TftpReply::Nothing);  // the rest of it is skipped
    sim::closeFd(module);
}

constexpr const char* kServerAddress = "127.0.0.30";

// The file once the server has written all of it (it may close it after the last
// acknowledgement), or what it holds after a second.
std::vector<uint8_t> fileOnDisk(const std::string& path, size_t size) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::error_code ec;
    while (std::filesystem::file_size(path, ec) != size && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TftpInterop, ImagesReachInTftpdByteForByte) {
    TempDir dir("tarnwick-tftpd");
    tftpd::TftpdProcess server;
    if (std::string why = server.start(kServerAddress, dir.path()); !why.empty()) {
        GTEST_SKIP() << "in.tftpd cannot serve on " << kServerAddress << ": " << why;
    }
    FastClock clock(10);  // waits poll the socket for real; the 3000 ms pause is virtual
    RecordingLinkOwner owner;
    TftpClient client(clock);
    client.setOwner(&owner);
    for (uint32_t size : {0u, 1u, 511u, 512u, 513u, 1u << 20}) {
        const std::string name = "IMG_" + std::to_string(size) + ".bcd";
        const std::vector<uint8_t> image = pkgbuild::patternData(size, size);
        ASSERT_TRUE(client.open(kServerAddress));  // the "tftp" port of the services database
        EXPECT_TRUE(client.put(0x51, 3, name.c_str(), image.data(), size)) << size;
        client.close();
        EXPECT_EQ(fileOnDisk(dir.file(name), size), image) << size;
    }
    EXPECT_TRUE(owner.linkErrors.empty());
}

}  // namespace
}  // namespace tarnwick::test
