// The TFTP client against a server nobody here wrote: Debian's in.tftpd on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "pkgbuild/package_builder.h"
#include "support/fast_clock.h"
#include "support/recording_link_owner.h"
#include "support/temp_dir_env.h"
#include "tftpd/tftpd_process.h"
#include "update/ethernet/tftp_client.h"

namespace tarnwick::test {
namespace {

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
        ASSERT_EQ(client.open(kServerAddress), 1);  // the "tftp" port of the services database
        EXPECT_EQ(client.put(0x51, 3, name.c_str(), image.data(), size), 1) << size;
        client.close();
        EXPECT_EQ(fileOnDisk(dir.file(name), size), image) << size;
    }
    EXPECT_TRUE(owner.linkErrors.empty());
}

}  // namespace
}  // namespace tarnwick::test
