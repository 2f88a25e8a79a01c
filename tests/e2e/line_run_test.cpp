// `tarnwick line` against simulated products on the network: every station's outcome in
// one line, and the exit status of the whole line.
#include <gtest/gtest.h>

#include "e2e/line_products.h"
#include "e2e/program_run.h"
#include "platform/instance_lock.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

std::vector<std::string> lineWords(const std::string& out) {
    std::vector<std::string> words;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) words.push_back(line.substr(0, line.find("  code")));
    return words;
}

TEST(LineRun, EachStationInItsOwnProcessAndTheFailingOneNamed) {
    ScopedArea area;
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path()), program("TARNWICK_PROGRAM_DIR", dir.path() + "/");
    sim::SimConfig good;
    good.modelCode = 0x0002;
    sim::SimConfig bad = good;
    bad.badComponentChecksum = {0x11};
    pkgbuild::PackageDescription pkg;
    pkg.packageId = "0101";
    pkg.components = {pkgbuild::patternComponent(0x01, "MAIN", "0200", "01", 1, 0x400),
                      pkgbuild::patternComponent(0x11, "DSP", "0200", "0111", 1, 0x300)};
    LineProducts line;
    std::string problem;
    ASSERT_TRUE(line.start(dir.path(), "127.77.19.", {good, good, good, bad}, pkg, 0, problem)) << problem;
    std::string out, err;
    EXPECT_EQ(runProgram("line 01-04 --parallel 4", dir.path(), out, err), 1) << err;
    EXPECT_EQ(lineWords(out), (std::vector<std::string>{"01  SUCCESS  ", "02  SUCCESS  ", "03  SUCCESS  ",
                                                         "04  ERROR    "}))
        << out;
    EXPECT_NE(out.find("Error[Checksum error!]"), std::string::npos) << out;

    for (const char* usage : {"line 00-04", "line 04-01", "line 01-04 --parallel 0", "line 1-4"}) {
        EXPECT_EQ(runProgram(usage, dir.path(), out, err), 64) << usage << err;
    }
    InstanceLock held;  // a window or a command runs: the line is busy, not failed
    ASSERT_EQ(held.acquire(), InstanceLock::Result::Acquired);
    EXPECT_EQ(runProgram("line 01-02", dir.path(), out, err), 75) << err;
}

}  // namespace
}  // namespace tarnwick::test
