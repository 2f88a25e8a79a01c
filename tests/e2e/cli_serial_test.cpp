// `tarnwick check` and `tarnwick update` as a user runs them: the program against the
// simulated product on a pseudo-terminal, with settling waits scaled to nothing.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pkgbuild/package_builder.h"
#include "sim_server.h"

namespace tarnwick::test {
namespace {

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

class SerialCommandLine : public ::testing::Test {
protected:
    sim::SimConfig product;
    std::unique_ptr<sim::SimServer> sim;
    std::string dir;
    std::string packagePath;

    void SetUp() override {
        char templ[] = "/tmp/tarnwick-cli-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        product.modelCode = 0x0002;
        pkgbuild::PackageDescription pkg;
        pkg.packageId = "0101";
        pkgbuild::ComponentDescription c;
        c.id = 0x01;
        c.name = "MAIN";
        c.versionText = "0200";
        c.switchPath = "01";
        c.data = pkgbuild::patternData(0x0400, 1);
        pkg.components = {c};
        packagePath = dir + "/package.bin";
        ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    }
    void TearDown() override {
        if (sim) sim->stop();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    void startProduct() {
        sim = std::make_unique<sim::SimServer>(product);
        ASSERT_TRUE(sim->startPty()) << sim->error();
    }
    std::string port() const { return sim ? sim->slavePath() : dir + "/no-such-tty"; }

    static std::string slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Runs the program with no terminal on any of its standard streams.
    ProgramRun run(const std::string& args) {
        const std::string out = dir + "/out.txt";
        const std::string err = dir + "/err.txt";
        const std::string command = "TARNWICK_TIME_SCALE=0 TMPDIR='" + dir + "/' '" + TARNWICK_BINARY + "' " + args +
                                    " </dev/null >'" + out + "' 2>'" + err + "'";
        ProgramRun r;
        const int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = slurp(out);
        r.err = slurp(err);
        return r;
    }
};

TEST_F(SerialCommandLine, UpdatePrintsTheResultBoxAndExitsWithItsCode) {
    startProduct();
    const std::string trace = dir + "/trace.txt";
    const ProgramRun r = run("update --file '" + packagePath + "' --port " + port() + " --trace '" + trace + "'");
    EXPECT_EQ(r.out, "[info]\nUpdate completed.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    const std::string wire = slurp(trace);
    EXPECT_NE(wire.find("VIALL?"), std::string::npos);
    EXPECT_NE(wire.find("RBNORM"), std::string::npos);
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Normal);
}

TEST_F(SerialCommandLine, VerboseShowsTheStatusLinesAsPlainLines) {
    startProduct();
    const ProgramRun r = run("update --file '" + packagePath + "' --port " + port() + " --check verify --verbose");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("[status] 01/01 [01:MAIN] Verifying...\n"), std::string::npos);
    EXPECT_NE(r.out.find("[status] Reboot(Nomal Mode)...\n[info]\nUpdate completed.\n"), std::string::npos);
}

TEST_F(SerialCommandLine, ADeclinedQuestionExitsWith12) {
    product.slotVersions[0] = "0300";
    startProduct();
    const std::string question = "[question]\nThe firmware version is downgraded!\n\nIs the update continued?\n";
    ProgramRun r = run("update --file '" + packagePath + "' --port " + port() + " --no");
    EXPECT_EQ(r.out, question);
    EXPECT_EQ(r.status, 12);
    // Without --yes or --no and without a terminal to ask on, the answer is No.
    r = run("update --file '" + packagePath + "' --port " + port());
    EXPECT_EQ(r.out, question);
    EXPECT_EQ(r.status, 12);
    r = run("update --file '" + packagePath + "' --port " + port() + " --yes");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("[info]\nUpdate completed.\n"), std::string::npos);
}

TEST_F(SerialCommandLine, NothingToRenewIsCode10AndAllDevicesUpdatesAnyway) {
    product.slotVersions[0] = "0200";
    startProduct();
    ProgramRun r = run("update --file '" + packagePath + "' --port " + port());
    EXPECT_EQ(r.out, "[info]\nNo device to be renewed.\n");
    EXPECT_EQ(r.status, 10);
    r = run("update --file '" + packagePath + "' --port " + port() + " --all-devices");
    EXPECT_EQ(r.out, "[info]\nUpdate completed.\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(SerialCommandLine, ModelMismatchIsCode5) {
    product.modelCode = 0x0003;
    startProduct();
    const ProgramRun r = run("update --file '" + packagePath + "' --port " + port());
    EXPECT_EQ(r.out, "[error]\nModel id is different!\n Product     : M0003\n Update file : M0002\n\nCheck the update file.\n");
    EXPECT_EQ(r.status, 5);
}

TEST_F(SerialCommandLine, ADeviceThatDoesNotOpenIsNamedOnStandardError) {
    ProgramRun r = run("update --file '" + packagePath + "' --port " + port());
    EXPECT_EQ(r.out, "[error]\nCommunication error!\n");
    EXPECT_NE(r.err.find("the serial device '" + port() + "' cannot be opened"), std::string::npos);
    EXPECT_EQ(r.status, 6);
    r = run("check --port " + port());
    EXPECT_EQ(r.out, "[error]\nCommunication check NG!\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(SerialCommandLine, CheckSaysOk) {
    startProduct();
    const ProgramRun r = run("check --port " + port() + " --baud 2");
    EXPECT_EQ(r.out, "[info]\nCommunication check OK.\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(SerialCommandLine, UsageErrorsExitWith64BeforeTouchingTheProduct) {
    startProduct();
    const std::string base = "update --file '" + packagePath + "' --port " + port();
    EXPECT_EQ(run(base + " --yes --no").status, 64);
    EXPECT_EQ(run(base + " --baud 5").status, 64);
    EXPECT_EQ(run(base + " --check crc").status, 64);
    EXPECT_EQ(run("update --file '" + packagePath + "'").status, 64);
    EXPECT_EQ(run("check --port " + port() + " --trace /nonexistent/dir/trace").status, 64);
    EXPECT_TRUE(sim->engine().events().empty());
}

TEST_F(SerialCommandLine, TheSamplePackageUpdatesTheDemoProduct) {
    product.slotVersions[0] = "0100";
    product.slotVersions[2] = "0202";
    product.slotVersions[6] = "0101";
    product.infoKinds[0x01] = sim::InfoKind::Crc32Words;
    startProduct();
    const ProgramRun r = run(std::string("update --file '") + TARNWICK_SAMPLE + "' --port " + port());
    EXPECT_EQ(r.out, "[info]\nUpdate completed.\n");
    EXPECT_EQ(r.status, 0);
}

}  // namespace
}  // namespace tarnwick::test
