// Writes a component to the simulated product over TCP on loopback, then times a bare
// request/answer exchange of the same frame sizes and count over a plain loopback
// connection, and compares the two. Each is run three times and the best run counts, so
// that other work on the machine disturbs the comparison less.
//   tcp_link_bench [BYTES]   (default 16 MiB)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bench_clock.h"
#include "link/frame.h"
#include "link/target_link.h"
#include "platform/command_channel.h"
#include "sim_tcp_server.h"

using namespace tarnwick;

namespace {

using namespace std::chrono_literals;

constexpr uint8_t kTarget = 0x01;
constexpr uint32_t kStart = 0x00100000;
constexpr const char* kAddress = "127.0.0.1";

using SteadyClock = std::chrono::steady_clock;

double since(SteadyClock::time_point t0) { return std::chrono::duration<double>(SteadyClock::now() - t0).count(); }

// The sizes of the 'P' frames writeData sends for size bytes to a 1024-byte target.
std::vector<size_t> frameSizes(size_t size) {
    std::vector<size_t> sizes;
    for (size_t done = 0; done < size; done += 1024) sizes.push_back(kDataFrameOverhead + std::min<size_t>(1024, size - done));
    return sizes;
}

constexpr int kRuns = 3;

struct Run {
    double seconds = 0;
    bool ok = false;
};

// The faster of two runs; a failed run spoils the result.
Run best(const Run& a, const Run& b) {
    if (a.seconds == 0) return b;
    return {std::min(a.seconds, b.seconds), a.ok && b.ok};
}

Run writeToProduct(const std::vector<uint8_t>& data) {
    sim::SimConfig config;
    config.startInUpdateMode = true;
    sim::SimTcpServer product(config, {.address = kAddress, .textPort = 0, .commandPort = 0, .updatePort = 0});
    Run run;
    if (!product.start()) {
        std::fprintf(stderr, "simulated product: %s\n", product.error().c_str());
        return run;
    }
    BenchClock clock;
    CommandChannel channel;
    TargetLink link(channel, clock);
    const uint32_t end = kStart + static_cast<uint32_t>(data.size()) - 1;
    if (channel.connect(kAddress, product.options().updatePort) != 1 || !link.connectTarget(kTarget, 5s) ||
        link.erase(kTarget, 0, 1, kStart, end) != ErrorCode::None) {
        return run;
    }
    const auto t0 = SteadyClock::now();
    const ErrorCode code = link.writeData(kTarget, kStart, end, data.data(), static_cast<uint32_t>(data.size()));
    run.seconds = since(t0);
    run.ok = code == ErrorCode::None && product.engine().memory(kTarget, kStart, end) == data;
    return run;
}

bool transfer(int fd, uint8_t* bytes, size_t count, bool out) {
    for (size_t done = 0; done < count;) {
        ssize_t n = out ? ::send(fd, bytes + done, count - done, MSG_NOSIGNAL) : ::recv(fd, bytes + done, count - done, 0);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The same frames and 4-byte answers between two plain sockets, no protocol at all.
Run bareExchange(const std::vector<size_t>& sizes) {
    Run run;
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, kAddress, &at.sin_addr);
    socklen_t length = sizeof at;
    if (bind(listener, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&at), &length) != 0) {
        return run;
    }
    int one = 1;
    int client = socket(AF_INET, SOCK_STREAM, 0);
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (connect(client, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) return run;
    int peer = accept(listener, nullptr, nullptr);
    setsockopt(peer, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::thread answerer([&] {
        std::vector<uint8_t> frame(kFrameBufferSize);
        uint8_t ack[4] = {kFrameStart, kLetterAck, kTarget, 0};
        for (size_t size : sizes) {
            if (!transfer(peer, frame.data(), size, false) || !transfer(peer, ack, sizeof ack, true)) return;
        }
    });
    std::vector<uint8_t> frame(kFrameBufferSize, 0x5A);
    uint8_t answer[4];
    run.ok = true;
    const auto t0 = SteadyClock::now();
    for (size_t size : sizes) {
        run.ok = run.ok && transfer(client, frame.data(), size, true) && transfer(client, answer, sizeof answer, false);
    }
    run.seconds = since(t0);
    answerer.join();
    for (int fd : {client, peer, listener}) ::close(fd);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16u * 1024 * 1024;
    std::vector<uint8_t> data(size);
    for (size_t k = 0; k < size; ++k) data[k] = static_cast<uint8_t>(k * 31 + (k >> 10));
    const auto sizes = frameSizes(size);

    Run link, bare;
    for (int k = 0; k < kRuns; ++k) {
        link = best(link, writeToProduct(data));
        bare = best(bare, bareExchange(sizes));
    }
    const double mb = static_cast<double>(size) / 1e6;
    std::printf("protocol: %zu bytes in %zu frames in %.3f s = %.2f MB/s (%s)\n", size, sizes.size(), link.seconds,
                mb / link.seconds, link.ok ? "verified" : "FAILED");
    std::printf("bare exchange: %zu frames of the same sizes in %.3f s = %.2f MB/s (%s)\n", sizes.size(), bare.seconds,
                mb / bare.seconds, bare.ok ? "ok" : "FAILED");
    const double ratio = link.seconds / bare.seconds;
    std::printf("protocol/bare: %.2f (goal <= 2): %s\n", ratio, ratio <= 2.0 ? "met" : "NOT met");
    return link.ok && bare.ok ? 0 : 1;
}
