// The command-line front end: what an operator reads on the terminal and the exit status.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "platform/posix/instance_lock.h"
#include "pkgbuild/package_builder.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

std::string readAll(std::FILE* f) {
    std::rewind(f);
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    return text;
}

class CliTest : public ::testing::Test {
protected:
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    fs::path dir = fs::temp_directory_path() / ("tarnwick-cli-" + std::to_string(getpid()));
    std::string savedTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";

    void SetUp() override {
        fs::create_directories(dir);
        setenv("TMPDIR", dir.c_str(), 1);
        setenv("TARNWICK_TIME_SCALE", "0", 1);
    }
    void TearDown() override {
        std::fclose(out);
        std::fclose(err);
        fs::remove_all(dir);
        if (savedTmp.empty()) unsetenv("TMPDIR"); else setenv("TMPDIR", savedTmp.c_str(), 1);
    }
    int run(std::vector<std::string> args) { return runCommandLine(args, CommandIo{out, err, nullptr}); }
    std::string packagePath(const pkgbuild::PackageDescription& p) {
        const std::string path = (dir / "pkg.bin").string();
        EXPECT_EQ(pkgbuild::writePackage(path, p), 1);
        return path;
    }
};

pkgbuild::ComponentDescription component(uint8_t id, const char* name, const char* version, uint32_t attributes) {
    pkgbuild::ComponentDescription c;
    c.id = id;
    c.name = name;
    c.versionText = version;
    c.attributes = attributes;
    c.data = pkgbuild::patternData(100, id);
    return c;
}

TEST_F(CliTest, VersionsPrintsTheListingAndLeavesNoComponentFiles) {
    pkgbuild::PackageDescription p;
    p.components = {component(0x01, "MAIN", "0105", 1), component(0x11, "DSP", "0203", 1 | (1u << 16))};
    p.components[1].versionLabel = "2.03 beta";
    EXPECT_EQ(run({"versions", "--file", packagePath(p)}), 0);
    EXPECT_EQ(readAll(out),
              "ID:TargetName   Version\n"
              "01:MAIN         0105                \n"
              "17:DSP(b)       2.03 beta           \n");
    EXPECT_FALSE(fs::exists(dir / "OrvexWriter" / "firmdata00.bin"));
    EXPECT_TRUE(fs::exists(dir / "OrvexWriter"));
    p.toolId = " VORTAG3 B007";
    EXPECT_EQ(run({"versions", "--file", packagePath(p)}), 1);
    EXPECT_NE(readAll(out).find("[error]\nFormat error of update file!\n"
                                "[error]\nProcessing error of file header reading!\n"),
              std::string::npos);
}

TEST_F(CliTest, UsageErrorsExitWith64) {
    EXPECT_EQ(run({"frobnicate"}), kExitUsage);
    EXPECT_EQ(run({"versions"}), kExitUsage);
    EXPECT_EQ(run({"versions", "--file"}), kExitUsage);
    EXPECT_EQ(run({"versions", "--file", "x.bin", "--bogus"}), kExitUsage);
    EXPECT_NE(readAll(err).find("Usage: tarnwick"), std::string::npos);
    EXPECT_EQ(readAll(out), "");
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(readAll(out).find("versions --file PKG"), std::string::npos);
}

TEST_F(CliTest, PortsListsAPseudoTerminalThatOpens) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string path = ttyname(slave);
    // The second candidate opens: it is COM2, listed alone.
    setenv("TARNWICK_SERIAL_PORTS", ((dir / "missing").string() + ":" + path).c_str(), 1);
    const int status = run({"ports"});
    setenv("TARNWICK_SERIAL_PORTS", "", 1);
    close(slave);
    close(master);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readAll(out), "COM2   " + path + "\n");
}

// While another Tarnwick runs, what would share its work directory or its devices is
// refused before it touches either; what needs neither runs.
TEST_F(CliTest, ASecondInstanceIsRefusedWhatSharesTheWorkDirectoryOrADevice) {
    pkgbuild::PackageDescription p;
    p.components = {component(0x01, "MAIN", "0105", 1)};
    const std::string pkg = packagePath(p);
    InstanceLock first;
    ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
    const struct {
        std::vector<std::string> args;
        bool refused;
    } cases[] = {
        {{"versions", "--file", pkg}, true},
        {{"check", "--port", "/dev/null"}, true},
        {{"update", "--file", pkg, "--port", "/dev/null"}, true},
        {{"ports"}, false},
        {{"--help"}, false},
    };
    for (const auto& c : cases) {
        std::freopen(nullptr, "w+", out);
        const int status = run(c.args);
        const bool refused = readAll(out) == "[error]\nThis software has already been executed.\n";
        EXPECT_EQ(refused, c.refused) << c.args[0];
        if (c.refused) { EXPECT_EQ(status, 1) << c.args[0]; }
    }
    EXPECT_FALSE(fs::exists(dir / "OrvexWriter"));
    first.release();
    EXPECT_EQ(run({"versions", "--file", pkg}), 0);
}

TEST_F(CliTest, PortsSaysSoWhenNoneOpens) {
    EXPECT_EQ(run({"ports"}), 1);
    EXPECT_EQ(readAll(err), "No serial port can be opened.\n");
}

}  // namespace
}  // namespace tarnwick::test
