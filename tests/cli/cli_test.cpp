// The command-line front end: what an operator reads on the terminal and the exit status.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli/command_line.h"
#include "platform/device_state.h"
#include "platform/instance_lock.h"
#include "pkgbuild/package_builder.h"
#include "support/stream_text.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
protected:
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    TempDir scratch{"tarnwick-cli"};
    fs::path dir = scratch.path();
    ScopedEnv tmpdir{"TMPDIR", scratch.path()}, scale{"TARNWICK_TIME_SCALE", "0"};

    void TearDown() override {
        std::fclose(out);
        std::fclose(err);
    }
    int run(std::vector<std::string> args) { return runCommandLine(args, CommandIo{out, err, nullptr}); }
    std::string packagePath(const pkgbuild::PackageDescription& p) {
        const std::string path = (dir / "pkg.bin").string();
        EXPECT_EQ(pkgbuild::writePackage(path, p), 1);
        return path;
    }
};

pkgbuild::ComponentDescription component(uint8_t id, const char* name, const char* version) {
    return pkgbuild::patternComponent(id, name, version, "", 1, 100);
}

TEST_F(CliTest, VersionsPrintsTheListingAndLeavesNoComponentFiles) {
    pkgbuild::PackageDescription p;
    p.components = {component(0x01, "MAIN", "0105"), component(0x11, "DSP", "0203"), component(0x21, "WEB", "0300")};
    p.components[1].attributes = kAttrRs232c | 1u << kKindMarkShift;
    p.components[1].versionLabel = "2.03 beta";
    p.components[2].attributes = kAttrRs232c | 4u << kKindMarkShift;
    EXPECT_EQ(run({"versions", "--file", packagePath(p)}), 0);
    EXPECT_EQ(streamText(out), "ID:TargetName   Version\n01:MAIN         0105                \n"
                               "17:DSP(b)       2.03 beta           \n33:WEB(w)       0300                \n");
    EXPECT_FALSE(fs::exists(dir / "OrvexWriter" / "firmdata00.bin"));
    EXPECT_EQ(run({"versions", "--file", (dir / "gone.bin").string()}), 1);
    EXPECT_EQ(streamText(err), "tarnwick versions: cannot open the package '" + (dir / "gone.bin").string() +
                                "': No such file or directory\n");
}

// (Values joined with "=" are used by the end-to-end runs.)
TEST_F(CliTest, ConventionsVersionCommandHelpAndWrappedHelp) {
    struct Case { std::vector<std::string> args; int status; const char* outHas; const char* errHas = ""; };
    const Case cases[] = {
        {{"frobnicate"}, kExitUsage, "", "Usage: tarnwick"},
        {{"versions", "--file"}, kExitUsage, "", "Usage: tarnwick"},
        {{"versions", "--file", "x.bin", "--bogus"}, kExitUsage, "", "Usage: tarnwick"},
        {{"--version"}, 0, "tarnwick " TARNWICK_TEST_VERSION "\n"},
        {{"update", "--file", "x.bin", "--help"}, 0, "Usage: tarnwick update --file PKG"},
        {{"update", "--help"}, 0, "  --check\n      verify|sum: how each written component is checked"},
        {{"update", "--yes=1", "--file", "x.bin"}, kExitUsage, ""},
        {{"--help"}, 0, "--opt=value"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.args[0];
        const std::string text = streamText(out);
        EXPECT_NE(text.find(c.outHas), std::string::npos) << text;
        if (c.status == kExitUsage && *c.errHas != '\0') { EXPECT_EQ(text, "") << c.args[0]; }
        EXPECT_NE(streamText(err).find(c.errHas), std::string::npos) << c.args[0];
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
        std::freopen(nullptr, "w+", out);
        std::freopen(nullptr, "w+", err);
    }
}

TEST_F(CliTest, PortsListsAPseudoTerminalThatOpensOrSaysNoneDoes) {
    EXPECT_EQ(run({"ports"}), 1);
    EXPECT_EQ(streamText(err), "No serial port can be opened.\n");
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string path = ttyname(slave);
    // The first candidate is missing and says so; the second opens.
    ScopedEnv ports("TARNWICK_SERIAL_PORTS", (dir / "missing").string() + ":" + path);
    EXPECT_EQ(run({"ports"}), 0);
    close(slave);
    close(master);
    EXPECT_EQ(streamText(out), "COM1   " + (dir / "missing").string() + "  no such device\nCOM2   " + path + "  free\n");
}

// What another process, an unprivileged one when asked, reads of the device's state.
std::string stateSeenByChild(const std::string& path, bool unprivileged) {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        if (unprivileged && geteuid() == 0 && setuid(65534) != 0) _exit(1);
        const std::string text = deviceStateText(probeSerialDevice(path));
        _exit(write(fds[1], text.data(), text.size()) < 0 ? 1 : 0);
    }
    close(fds[1]);
    std::string text;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return text;
}

TEST_F(CliTest, BusyAndForbiddenDevicesSayWhyAndWhatToDo) {
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    const std::string path = ttyname(slave);
    ASSERT_EQ(flock(slave, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(stateSeenByChild(path, false).rfind("busy, held by process " + std::to_string(getpid()) + " (", 0), 0u);
    ASSERT_EQ(flock(slave, LOCK_UN), 0);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EQ(stateSeenByChild(path, true).rfind("permission denied; join the 'dialout' group", 0), 0u);
    close(slave);
    close(master);
}

// While another Tarnwick runs, what would share its work directory or its devices is
// refused before it touches either; what needs neither runs.
TEST_F(CliTest, ASecondInstanceIsRefusedWhatSharesTheWorkDirectoryOrADevice) {
    pkgbuild::PackageDescription p;
    p.components = {component(0x01, "MAIN", "0105")};
    const std::string pkg = packagePath(p);
    InstanceLock first;
    ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
    for (const auto& [args, refused] : {std::pair<std::vector<std::string>, bool>{{"versions", "--file", pkg}, true},
                                        {{"update", "--file", pkg, "--port", "/dev/null"}, true}, {{"ports"}, false}}) {
        std::freopen(nullptr, "w+", out);
        EXPECT_EQ(run(args) == 75 && streamText(out) == "[error]\nThis software has already been executed.\n", refused) << args[0];
    }
    EXPECT_FALSE(fs::exists(dir / "OrvexWriter"));
}

}  // namespace
}  // namespace tarnwick::test
