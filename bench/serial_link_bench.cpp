// Writes a component to the simulated product over a pseudo-terminal: first as fast as
// the pseudo-terminal goes, then with the product taking its input at 115200 bit/s 8N1
// (11,520 bytes/s), where the measured time is compared with the ideal line time.
//   serial_link_bench [BYTES]   (default 1 MiB)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_clock.h"
#include "link/target_link.h"
#include "platform/serial_port.h"
#include "sim_server.h"

using namespace tarnwick;

namespace {

using namespace std::chrono_literals;

constexpr uint32_t kLineBytesPerSecond = 11520;
constexpr uint8_t kTarget = 0x01;
constexpr uint32_t kStart = 0x00100000;

struct Run {
    double seconds = 0;
    uint64_t wireBytes = 0;
    bool ok = false;
};

Run writeOnce(uint32_t pace, const std::vector<uint8_t>& data) {
    sim::SimConfig config;
    config.startInUpdateMode = true;
    config.paceBytesPerSecond = pace;
    sim::SimServer product(config);
    Run run;
    if (!product.startPty()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", product.error().c_str());
        return run;
    }
    BenchClock clock;
    SerialPort port(clock);
    TargetLink link(port, clock);
    if (port.open(product.slavePath(), 4) != 1 || !link.connectTarget(kTarget, 5s)) return run;
    uint32_t end = kStart + static_cast<uint32_t>(data.size()) - 1;
    if (link.erase(kTarget, 0, 1, kStart, end) != ErrorCode::None) return run;
    uint64_t before = product.bytesReceived();
    auto t0 = std::chrono::steady_clock::now();
    const ErrorCode code = link.writeData(kTarget, kStart, end, data.data(), static_cast<uint32_t>(data.size()));
    auto t1 = std::chrono::steady_clock::now();
    run.seconds = std::chrono::duration<double>(t1 - t0).count();
    run.wireBytes = product.bytesReceived() - before;
    run.ok = code == ErrorCode::None && product.engine().memory(kTarget, kStart, end) == data;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    size_t size = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024 * 1024;
    std::vector<uint8_t> data(size);
    for (size_t k = 0; k < size; ++k) data[k] = static_cast<uint8_t>(k * 31 + (k >> 10));

    Run fast = writeOnce(0, data);
    std::printf("unpaced: %zu bytes in %.3f s = %.0f bytes/s (%s)\n", size, fast.seconds,
                static_cast<double>(size) / fast.seconds, fast.ok ? "verified" : "FAILED");

    Run paced = writeOnce(kLineBytesPerSecond, data);
    double idealData = static_cast<double>(size) / kLineBytesPerSecond;
    double idealWire = static_cast<double>(paced.wireBytes) / kLineBytesPerSecond;
    std::printf("paced at %u bytes/s: %zu bytes (%llu on the wire) in %.3f s (%s)\n", kLineBytesPerSecond, size,
                static_cast<unsigned long long>(paced.wireBytes), paced.seconds, paced.ok ? "verified" : "FAILED");
    std::printf("  ideal/measured: %.4f for the data (%.3f s ideal), %.4f for all bytes on the wire (%.3f s ideal)\n",
                idealData / paced.seconds, idealData, idealWire / paced.seconds, idealWire);
    std::printf("  goal >= 0.95: %s\n", idealData / paced.seconds >= 0.95 ? "met" : "NOT met");
    return fast.ok && paced.ok ? 0 : 1;
}
