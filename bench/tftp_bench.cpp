// Puts one image to Debian's in.tftpd on loopback with the program's TFTP client and with
// tftp-hpa's client, and compares the times of the data phase (the client's fixed 3000 ms
// pause after the write request is left out).
//   tftp_bench [BYTES [RUNS]]   (default 16 MiB, 5 runs each; needs root for port 69)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "tftpd/tftpd_process.h"
#include "update/ethernet/tftp_client.h"

using namespace tarnwick;

namespace {

constexpr const char* kServer = "127.0.0.31";
using Steady = std::chrono::steady_clock;

double secondsSince(Steady::time_point start) {
    return std::chrono::duration<double>(Steady::now() - start).count();
}

bool sameAs(const std::string& path, const std::vector<uint8_t>& image) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) == image;
}

// The data phase of TftpClient: the request is made (and acknowledged) first, then the
// blocks are timed.
double ours(const std::vector<uint8_t>& image, const std::string& name) {
    TftpClient client(systemClock());
    if (!client.open(kServer) || client.sendRequest(1, 3, name.c_str()) != ErrorCode::None) return -1;
    const auto start = Steady::now();
    const ErrorCode code = client.sendData(1, 3, image.data(), static_cast<uint32_t>(image.size()));
    return code == ErrorCode::None ? secondsSince(start) : -1;
}

// The wall time of one tftp-hpa run (its own "Sent ... in X seconds" figure is not usable:
// it can come out negative).
double theirs(const std::string& file, const std::string& name) {
    const std::string command =
        "tftp -m binary " + std::string(kServer) + " -c put " + file + " " + name + " >/dev/null 2>&1";
    const auto start = Steady::now();
    const int status = std::system(command.c_str());
    return status == 0 ? secondsSince(start) : -1;
}

// Serves dir with in.tftpd and times both clients on an image of bytes.
int compare(const std::string& dir, size_t bytes, int runs) {
    tftpd::TftpdProcess server;
    if (std::string why = server.start(kServer, dir); !why.empty()) {
        std::fprintf(stderr, "tftp_bench: in.tftpd cannot serve on %s: %s\n", kServer, why.c_str());
        return 1;
    }
    std::vector<uint8_t> image(bytes);
    for (size_t k = 0; k < bytes; ++k) image[k] = static_cast<uint8_t>(k * 131 + (k >> 9));
    const std::string source = dir + "/source.bin";
    std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());

    // What a tftp-hpa run costs besides the data: the shell, the program's start, the request.
    const std::string tiny = dir + "/tiny.bin";
    std::ofstream(tiny, std::ios::binary).put('x');
    double start = 1e9;
    for (int k = 0; k < 5; ++k) start = std::min(start, theirs(tiny, "tiny.bcd"));

    std::vector<double> oursTimes, theirTimes;
    std::printf("%zu bytes to in.tftpd at %s, %d runs each; a 1-byte tftp-hpa run takes %.3f s\n", bytes, kServer,
                runs, start);
    for (int run = 1; run <= runs; ++run) {
        const std::string ourName = "ours" + std::to_string(run) + ".bcd";
        const std::string theirName = "theirs" + std::to_string(run) + ".bcd";
        const double a = ours(image, ourName);
        const double wall = theirs(source, theirName);
        const double b = wall - start;
        const bool intact = sameAs(dir + "/" + ourName, image) && sameAs(dir + "/" + theirName, image);
        std::printf("run %d: TftpClient %.3f s, tftp-hpa %.3f s (%.3f s with its start)%s\n", run, a, b, wall,
                    intact ? "" : "  FILES DIFFER");
        if (a < 0 || wall < 0 || !intact) return 1;
        oursTimes.push_back(a);
        theirTimes.push_back(b);
    }
    std::sort(oursTimes.begin(), oursTimes.end());
    std::sort(theirTimes.begin(), theirTimes.end());
    const double mib = bytes / 1048576.0;
    for (auto [label, k] : {std::pair{"best", size_t{0}}, std::pair{"median", oursTimes.size() / 2}}) {
        std::printf("%s: TftpClient %.3f s (%.1f MiB/s), tftp-hpa %.3f s (%.1f MiB/s), ratio ours/theirs %.2f\n",
                    label, oursTimes[k], mib / oursTimes[k], theirTimes[k], mib / theirTimes[k],
                    oursTimes[k] / theirTimes[k]);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t bytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16u * 1024u * 1024u;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    char pattern[] = "/tmp/tarnwick-tftp-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    const std::string dir = pattern;
    const int status = compare(dir, bytes, runs);
    std::filesystem::remove_all(dir);
    return status;
}
