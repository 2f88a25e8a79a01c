// Consecutive RS-232C updates in one process: a main window on a recording dialog and a
// fast clock updates a fresh simulated product over a pseudo-terminal each run, the product
// scripted with a random fault (or none). Each run's result code is compared with the one
// its fault implies; open descriptors and resident memory are printed before, every 50th
// run and after, so that a leak shows as a climb. The first run adds the 16 MiB buffer the
// component checks fill, which the allocator keeps for the runs after it.
//   soak_bench [RUNS [SEED]]   (default 200 runs, the seed from the time)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "window/main_window.h"
#include "pkgbuild/package_builder.h"
#include "sim_server.h"
#include "support/fast_clock.h"
#include "support/recording_dialog.h"
#include "support/recording_tone.h"
#include "support/temp_dir_env.h"

using namespace tarnwick;

namespace {

// A fault, what it does to the product and the window, and the result code it implies.
struct Fault {
    std::string name;
    std::function<void(sim::SimConfig&)> apply;
    int expected = 0;
    int checkMode = -1;  // -1: as the package sets it
};

// The first frame with each letter in an update of MAIN and DSP: 'C' and 'I' first reach the
// product in its update mode (connect, model), whose failure is "Communication error!";
// 'L', 'P' and 'X' belong to the component updates, whose failure is "Update Failed!".
int failureCodeFor(char letter) { return letter == 'C' || letter == 'I' ? 6 : 1; }

// A frame fault: an error answer fails at once; the other kinds fail only when all four
// attempts get them.
Fault frameFault(std::mt19937& rng) {
    static const char kLetters[] = {'C', 'I', 'L', 'P', 'X'};
    static const char* const kKindNames[] = {"silence", "nak", "error", "bad checksum"};
    const auto kind = static_cast<sim::FaultKind>(rng() % 4);
    const char letter = kLetters[rng() % 5];
    const int count = kind == sim::FaultKind::Error ? 1 : static_cast<int>(1 + rng() % 4);
    const bool fails = kind == sim::FaultKind::Error || count == 4;
    return {std::string(kKindNames[static_cast<int>(kind)]) + " x" + std::to_string(count) + " on " + letter,
            [=](sim::SimConfig& c) { c.faults = {sim::FrameFault{kind, letter, 0xFF, 0, count}}; },
            fails ? failureCodeFor(letter) : 0};
}

Fault randomFault(std::mt19937& rng) {
    const unsigned pick = rng() % 10;
    if (pick < 2) return {"none", [](sim::SimConfig&) {}, 0};
    if (pick < 7) return frameFault(rng);
    const Fault kProductFaults[] = {
        {"DSP absent (hop refused)", [](sim::SimConfig& c) { c.absentTargets = {0x11}; }, 1},
        {"DSP checksum off", [](sim::SimConfig& c) { c.badComponentChecksum = {0x11}; }, 1},
        {"MAIN read back corrupt", [](sim::SimConfig& c) { c.corruptReadBack = {0x01}; }, 1, 0},
        {"other model", [](sim::SimConfig& c) { c.modelCode = 0x0003; }, 5},
        {"silent in update mode", [](sim::SimConfig& c) { c.silent = c.startInUpdateMode = true; }, 6},
    };
    return kProductFaults[rng() % 5];
}

int openDescriptors() {
    int n = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd"); it != std::filesystem::directory_iterator(); ++it) ++n;
    return n - 1;  // the iterator's own
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

void printResources(const char* when) {
    std::printf("%-10s descriptors %3d  VmRSS %6ld KiB\n", when, openDescriptors(), residentKiB());
    std::fflush(stdout);
}

// One update from a fresh product and window; the result code, -1 when none was reported.
int runOnce(const Fault& fault, const std::string& packagePath) {
    sim::SimConfig config;
    config.modelCode = 0x0002;
    fault.apply(config);
    sim::SimServer product(config);
    if (!product.startPty()) {
        std::fprintf(stderr, "no pseudo-terminal: %s\n", product.error().c_str());
        return -2;
    }
    setenv("TARNWICK_SERIAL_PORTS", product.slavePath().c_str(), 1);
    test::RecordingDialog dialog;
    test::FastClock clock;
    test::RecordingTone tone;
    MainWindow window(dialog, clock, tone);
    window.initDialog();
    dialog.cancelOpenFile = false;
    dialog.fileToOpen = packagePath;
    window.onLoad();
    if (!window.packageLoaded) return -3;
    dialog.controls.commType = 0;
    window.onCommTypeChanged();
    if (fault.checkMode >= 0) dialog.controls.checkMode = fault.checkMode;
    window.onUpdate();
    const int code = window.lastResultCode;
    product.stop();
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10))
                                   : static_cast<unsigned>(std::time(nullptr));
    std::printf("soak: %d updates, seed %u\n", runs, seed);
    std::mt19937 rng(seed);

    test::TempDir scratch("tarnwick-soak");
    test::ScopedEnv tmpdir("TMPDIR", scratch.path() + "/");
    pkgbuild::PackageDescription pkg;
    pkg.components = {pkgbuild::patternComponent(0x01, "MAIN", "0200", "01", 1, 0x0400),
                      pkgbuild::patternComponent(0x11, "DSP", "0200", "0111", 1, 0x0300)};
    const std::string packagePath = scratch.file("package.bin");
    if (pkgbuild::writePackage(packagePath, pkg) != 1) return 2;

    printResources("before");
    const int fdBefore = openDescriptors();
    const long rssBefore = residentKiB();
    int mismatches = 0;
    std::map<int, int> expectedCodes;
    for (int run = 1; run <= runs; ++run) {
        const Fault fault = randomFault(rng);
        const int code = runOnce(fault, packagePath);
        ++expectedCodes[fault.expected];
        if (code != fault.expected) {
            ++mismatches;
            std::printf("run %d: %s: expected %d, got %d\n", run, fault.name.c_str(), fault.expected, code);
        }
        if (run == 1 || run % 50 == 0) printResources(("run " + std::to_string(run)).c_str());
    }
    printResources("after");
    std::printf("expected results:");
    for (const auto& [code, n] : expectedCodes) std::printf(" code %d x%d", code, n);
    std::printf("\n");
    std::printf("runs %d, mismatches %d, descriptors %d -> %d, VmRSS %ld -> %ld KiB\n", runs, mismatches, fdBefore,
                openDescriptors(), rssBefore, residentKiB());
    return mismatches == 0 && openDescriptors() == fdBefore ? 0 : 1;
}
