// The production line on one PC: eight simulated products on the network, run by
// `tarnwick line 01-08` one station at a time and eight at a time. The product's restarts
// are kept in the picture at a time scale of 1/100 (a 155 s wait takes 1.55 s) and a
// restart of 300 ms in the product itself; the ratio of the two wall times is printed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e/line_products.h"
#include "support/temp_dir_env.h"

namespace {

double runLine(const std::string& dir, int parallel) {
    const std::string command = "env TARNWICK_TIME_SCALE=0.01 TMPDIR='" + dir + "/' XDG_RUNTIME_DIR='" + dir +
                                "' TARNWICK_PROGRAM_DIR='" + dir + "/' TARNWICK_SHM_NAME=/tarnwick-line-bench '" +
                                TARNWICK_BINARY + "' line 01-08 --parallel " + std::to_string(parallel);
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("--parallel %d: %.2f s (status %d)\n", parallel, took.count(), status);
    return took.count();
}

}  // namespace

int main() {
    using namespace tarnwick;
    test::TempDir dir("tarnwick-line-bench");
    sim::SimConfig product;
    product.modelCode = 0x0002;
    pkgbuild::PackageDescription pkg;
    pkg.packageId = "0101";
    pkg.components = {pkgbuild::patternComponent(0x01, "MAIN", "0200", "01", 1, 0x4000),
                      pkgbuild::patternComponent(0x11, "DSP", "0200", "0111", 1, 0x3000)};
    double seconds[2] = {0, 0};
    for (int round = 0; round < 2; ++round) {
        test::LineProducts line;  // products fresh out of the box for each run
        std::string problem;
        if (!line.start(dir.path(), "127.78.20.", std::vector<sim::SimConfig>(8, product), pkg, 300, problem)) {
            std::fprintf(stderr, "line_bench: %s\n", problem.c_str());
            return 1;
        }
        seconds[round] = runLine(dir.path(), round == 0 ? 1 : 8);
    }
    std::printf("wall time ratio (parallel 1 / parallel 8): %.2f\n", seconds[0] / seconds[1]);
    return 0;
}
