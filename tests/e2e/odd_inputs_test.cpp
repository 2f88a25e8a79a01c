// Inputs that are no regular file end the run at once with the usual message and a line
// naming the path and why; an output over an input is refused before anything is written.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "e2e/program_run.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

TEST(OddInputs, FifosEndTheRunAndTheTraceNeverOverwritesThePackage) {
    ScopedArea area;
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path()), program("TARNWICK_PROGRAM_DIR", dir.path() + "/");
    for (const char* sub : {"01", "02", "drive"}) std::filesystem::create_directories(dir.file(sub));
    ASSERT_EQ(mkfifo(dir.file("drive/line.bin").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(dir.file("02/UpdateInformation02.txt").c_str(), 0600), 0);
    std::ofstream(dir.file("01/UpdateInformation01.txt"), std::ios::binary)
        << "IPAddress;127.0.0.1\r\nSkip;OFF\r\nDrive;" << dir.file("drive") << "\r\n";
    std::ofstream(dir.file("package.bin"), std::ios::binary) << "not yet read\r\n";
    const struct {
        std::string args;
        int status;
        std::string err;  // a part of standard error
    } cases[] = {
        {"/01", 2, dir.file("drive/line.bin") + ": a FIFO, not a regular file"},
        {"/02", 2, "information file " + dir.file("02/UpdateInformation02.txt") + ": a FIFO, not a regular file"},
        {"versions --file " + dir.file("drive/line.bin"), 1, "a FIFO, not a regular file"},
        {"update --file " + dir.file("package.bin") + " --port /dev/null --trace " + dir.file("package.bin"), 64,
         "--trace names the file of --file"},
    };
    for (const auto& c : cases) {
        std::string out, err;
        EXPECT_EQ(runProgram(c.args, dir.path(), out, err), c.status) << c.args;
        EXPECT_NE(err.find(c.err), std::string::npos) << c.args << "\n" << err;
    }
    EXPECT_EQ(slurp(dir.file("package.bin")), "not yet read\r\n");
}

}  // namespace
}  // namespace tarnwick::test
