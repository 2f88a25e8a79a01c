// `tarnwick check` and `tarnwick update` as a user runs them: the program against the
// simulated product on a pseudo-terminal, with settling waits scaled to nothing.
#include <pty.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include <nlohmann/json.hpp>

#include "e2e/program_run.h"
#include "platform/instance_lock.h"
#include "e2e/serial_update_fixture.h"

namespace tarnwick::test {
namespace {

// One run of the program; in `args`, {pkg} stands for the package path, {port} for the
// device, {sample} for the sample package and {dir} for the test's directory.
struct CliCase {
    const char* name;
    const char* args;
    int status;
    const char* out = nullptr;          // the whole standard output, when set
    std::vector<const char*> outHas = {};  // parts of it
    void (*setup)(sim::SimConfig&) = nullptr;
    bool noProduct = false;             // no product: {port} does not exist
    uint8_t writeMethod = 1;            // of the package's MAIN
    std::vector<const char*> errHas = {};  // parts of standard error
    const char* traceHas = nullptr;        // part of {dir}/trace.txt
};

const char* const kDowngrade = "[question]\nThe firmware version is downgraded!\n\nIs the update continued?\n";
void downgrade(sim::SimConfig& s) { s.slotVersions[0] = "0300"; }
void current(sim::SimConfig& s) { s.slotVersions[0] = "0200"; }
void inUpdateMode(sim::SimConfig& s) { s.startInUpdateMode = true; }

// The simulated product that scripts/demo.sh starts for the sample package.
void demoProduct(sim::SimConfig& s) {
    s.slotVersions[0] = "0100";
    s.slotVersions[2] = "0202";
    s.slotVersions[6] = "0101";
    s.infoKinds[0x01] = sim::InfoKind::Crc32Words;
}

const CliCase kCases[] = {
    {"Verbose", "update --file {pkg} --port {port} --check verify --verbose", 0, nullptr,
     {"[status] 01/01 [01:MAIN] Verifying...\n", "[status] Reboot(Nomal Mode)...\n[info]\nUpdate completed.\n", "\nelapsed 0:0"}},
    // Without --yes and without a terminal to ask on, the answer is No, and standard error says how to say Yes.
    {"NoTerminalAnswersNo", "update --file {pkg} --port {port}", 12, kDowngrade, {}, downgrade, false, 1,
     {"\"The firmware version is downgraded!\" was answered No", "--yes"}},
    {"AcceptedWithYes", "update --file {pkg} --port {port} --yes", 0, nullptr, {"[info]\nUpdate completed.\n"}, downgrade},
    {"NothingToRenew", "update --file {pkg} --port {port}", 10, "[info]\nNo device to be renewed.\n", {}, current},
    {"CheckNoDevice", "check --port {port}", 1, "[error]\nCommunication check NG!\n", {}, nullptr, true, 1,
     {"The product did not answer. Check: the cable and the port chosen; the product's power; the bit rate"}},
    {"UpdateNoDevice", "update --file {pkg} --port {port}", 6, "[error]\nCommunication error!\n", {}, nullptr, true, 1,
     {"the serial device '"}},
    // The switch back to the normal mode is refused: the result stands, a warning follows it.
    {"NormalModeUnconfirmed", "update --file {pkg} --port {port}", 0, nullptr,
     {"[info]\nUpdate completed.\n", "Warning: the product did not confirm its return to the normal mode"},
     [](sim::SimConfig& s) { s.faults.push_back({sim::FaultKind::Error, 'X', 0xFF, 0, 1}); }, false, 1,
     {"may still be in its update mode"}},
    {"NoCheckForWriteMethod5", "update --file {pkg} --port {port}", 1, nullptr,
     {"[error]\nUpdate Failed!\n[summary]\n01:MAIN         0200                 failed: no check method for write method 5\n"},
     nullptr, false, 5},
    // A product only in its update mode is checked at the chosen bit rate: the rate itself or its index.
    {"BaudRate", "check --port {port} --trace {dir}/trace.txt --baud=115200", 0, nullptr, {}, inUpdateMode, false, 1, {},
     ") at 115200 bit/s: ok"},
    {"BaudIndex", "check --port {port} --trace {dir}/trace.txt --baud 0", 0, nullptr, {}, inUpdateMode, false, 1, {},
     ") at 9600 bit/s: ok"},
    // The status lines' counters number the components written, as selected and with
    // --all-devices, and the summary lines follow.
    {"CountersAsSelected", "update --file {sample} --port {port} --verbose", 0, nullptr,
     {"] 05/07 [", "[summary]\n01:MAIN         1.05 (2026-11-20)    updated\n02:BOOT         0101                 passed (same version)\n"},
     demoProduct},
    {"CountersOfAllDevices", "update --file {sample} --port {port} --verbose --all-devices", 0, nullptr,
     {"] 05/05 [", "02:BOOT         0101                 updated\n"}, demoProduct},
    // Usage errors are found before the product hears anything or a trace is truncated.
    {"YesAndNo", "update --file {pkg} --port {port} --yes --no --trace {dir}/kept.txt", 64},
    {"BadBaud", "update --file {pkg} --port {port} --baud 5", 64},
    {"BadCheck", "update --file {pkg} --port {port} --check crc", 64},
    {"NoPort", "update --file {pkg}", 64},
    {"TraceNotCreated", "check --port {port} --trace /nonexistent/dir/trace", 64},
};

// The fixture's product and directory, with a package of MAIN alone.
class SerialCommandLine : public SerialUpdateTest {
protected:
    std::string packagePath, out, err;
    const std::string byPath = dir + "/pci-0000:00:14.0-usb-0:1";  // named as /dev/serial/by-path names are

    void SetUp() override {
        SerialUpdateTest::SetUp();
        pkg.components.resize(1);
        packagePath = dir + "/package.bin";
        ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    }
    void startProduct(const sim::SimConfig& config) {
        if (sim) sim->stop();
        sim = std::make_unique<sim::SimServer>(config);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        std::filesystem::remove(byPath);
        std::filesystem::create_symlink(sim->slavePath(), byPath);
    }
    std::string port() const { return sim ? byPath : dir + "/no-such-tty"; }

    // The arguments with the placeholders filled in.
    std::string expand(const std::string& args) {
        return expandWords(args, {{"{pkg}", "'" + packagePath + "'"}, {"{port}", port()},
                                  {"{sample}", std::string("'") + TARNWICK_SAMPLE + "'"}, {"{dir}", dir}});
    }
    std::string command(const std::string& args) { return programCommand(expand(args), dir); }
    int run(const std::string& args) { return runProgram(expand(args), dir, out, err); }
};

// --port names the device whatever the environment lists as candidates.
TEST_F(SerialCommandLine, ResultBoxesAndExitCodes) {
    { std::ofstream(dir + "/kept.txt") << "an earlier trace"; }
    ScopedEnv candidates("TARNWICK_SERIAL_PORTS", dir + "/ttyUSB7");
    for (const CliCase& c : kCases) {
        sim::SimConfig config = product;
        if (c.setup) c.setup(config);
        pkg.components[0].writeMethod = c.writeMethod;
        ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
        if (sim) { sim->stop(); sim.reset(); }
        if (!c.noProduct) startProduct(config);
        EXPECT_EQ(run(c.args), c.status) << c.name << "\n" << out << err;
        if (c.out) { EXPECT_EQ(out, c.out) << c.name; }
        for (const char* part : c.outHas) EXPECT_NE(out.find(part), std::string::npos) << c.name << "\n" << out;
        for (const char* part : c.errHas) EXPECT_NE(err.find(part), std::string::npos) << c.name << "\n" << err;
        if (c.traceHas) { EXPECT_NE(slurp(dir + "/trace.txt").find(c.traceHas), std::string::npos) << c.name; }
        if (c.status == 64 && sim) { EXPECT_TRUE(sim->engine().events().empty()) << c.name; }
    }
    EXPECT_EQ(slurp(dir + "/kept.txt"), "an earlier trace");
}

// The names `tarnwick ports` prints are taken by --port; a name without a port is refused.
// A JSON run that ends on a question answered No carries the question in its result.
TEST_F(SerialCommandLine, PortsNamesWorkAndAJsonRunEndedByAQuestionCarriesIt) {
    sim::SimConfig config = product;
    downgrade(config);
    startProduct(config);
    ScopedEnv ports("TARNWICK_SERIAL_PORTS", sim->slavePath());
    EXPECT_EQ(run("check --port COM1"), 0) << out << err;
    EXPECT_EQ(run("check --port com2"), 64);
    EXPECT_NE(err.find("tarnwick ports"), std::string::npos) << err;
    EXPECT_EQ(run("update --file {pkg} --port COM1 --json"), 12) << err;
    const nlohmann::json result = nlohmann::json::parse(out.substr(out.rfind('\n', out.size() - 2) + 1));
    EXPECT_EQ(result["question"], "The firmware version is downgraded!\n\nIs the update continued?");
    EXPECT_NE(err.find("--yes"), std::string::npos) << err;
}

// Output redirected, answers from the terminal: the question and its prompt are shown on
// standard error, where the one who answers sees them.
TEST_F(SerialCommandLine, WithTheOutputRedirectedTheQuestionIsAskedOnStandardError) {
    sim::SimConfig config = product;
    downgrade(config);
    startProduct(config);
    int master = -1, slave = -1;
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(write(master, "y\n", 2), 2);
    const int raw = std::system((command("update --file {pkg} --port {port} <") + ttyname(slave) + " >'" + dir +
                                 "/out.txt' 2>'" + dir + "/err.txt'").c_str());
    close(slave);
    close(master);
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    EXPECT_EQ(slurp(dir + "/err.txt"), std::string(kDowngrade).substr(11) + "Yes or No? [y/n] ");
    const std::string shown = slurp(dir + "/out.txt");
    EXPECT_EQ(shown.rfind(kDowngrade, 0), 0u) << shown;
    EXPECT_EQ(shown.find("Yes or No"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[info]\nUpdate completed.\n"), std::string::npos) << shown;
}

// A package the window would not let the operator update is not written from here either.
TEST_F(SerialCommandLine, APackageWithoutAModelNameIsRefusedAsTheWindowDisablesUpdate) {
    pkg.modelName = "";
    ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    startProduct(product);
    EXPECT_EQ(run("update --file {pkg} --port {port} --yes"), 2);
    EXPECT_EQ(err, "tarnwick update: \"Update\" is disabled: the package names no model\n");
    EXPECT_EQ(sim->bytesReceived(), 0u);
}

// The reader of the output goes away at once; the update still runs to its end.
TEST_F(SerialCommandLine, AClosedOutputPipeDoesNotStopTheUpdate) {
    startProduct(product);
    const std::string status = dir + "/status.txt";
    ASSERT_EQ(std::system(("(" + command("update --file {pkg} --port {port} --verbose") + " </dev/null; echo $? >'" + status +
                           "') | true").c_str()), 0);
    EXPECT_EQ(slurp(status), "0\n");
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Normal);
    EXPECT_TRUE(written(0));
}

// A production line reads the run as it happens: every line one JSON object, the last the
// result. (The per-component status events are what the Ctrl-C run below waits for.)
TEST_F(SerialCommandLine, JsonEventsOfAnUpdateParseAndEndWithTheResultCode) {
    startProduct(product);
    EXPECT_EQ(run("update --file {pkg} --port {port} --json"), 0) << err;
    EXPECT_EQ(err, "");
    std::vector<nlohmann::json> events;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) events.push_back(nlohmann::json::parse(line));
    ASSERT_GE(events.size(), 4u) << out;
    const size_t n = events.size();
    EXPECT_EQ(nlohmann::json({events[n - 3], events[n - 2]["components"], events[n - 1]}), nlohmann::json::parse(R"([
        {"event":"box","kind":"info","text":"Update completed."},
        [{"id":"01","name":"MAIN","version":"0200","product_version":"0100","outcome":"updated","reason":"","check":"checksum"}],
        {"event":"result","code":0,"text":"Update completed."}])"));
}

// What "Update" would do to each component, from the product's normal-mode answer alone.
TEST_F(SerialCommandLine, InfoPrintsTheProductAndThePlanWithoutWriting) {
    pkg.components = {component(0x01, "MAIN", "0200", "01", 1, 0x100), component(0x11, "DSP", "0200", "0111", 1, 0x100),
                      component(0x15, "PLD", "0200", "0115", 1, 0x100), component(0x2A, "NET", "0200", "012A", 1, 0x100)};
    pkg.components[3].attributes = kAttrEthernetFrames;
    ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    product.slotVersions[2] = "0200";
    product.slotVersions[3] = "0300";
    startProduct(product);
    EXPECT_EQ(run("info --port {port} --file={pkg}"), 0) << err;
    EXPECT_EQ(out.substr(out.find("  7  ")),
              "  7  03:DM8IMG       0100\nPlan (Normal update.):\n"
              "  ID Name           Package              Product              Update\n"
              "  01 MAIN           0200                 0100                 update\n"
              "  11 DSP            0200                 0200                 pass\n"
              "  15 PLD            0200                 0300                 downgrade\n"
              "  2A NET            0200                 0100                 not over this link\n");
    EXPECT_EQ(out.rfind("Model:          TWK-7000\nSerial number:  TW0000001\nPackage id:     0001\n", 0), 0u) << out;
    EXPECT_FALSE(written(0));
    EXPECT_EQ(sim->engine().mode(), sim::ProductMode::Normal);
}

// Ctrl-C while the product is written: once only warns, twice within 5 s ends the run with
// no component file left and the lock free.
// Ctrl-C once (the run goes on), then a closed session's SIGHUP twice (as SIGTERM: it ends).
TEST_F(SerialCommandLine, CtrlCDuringTheWritesNeedsASecondPress) {
    pkg.components[0].data = pkgbuild::patternData(0x3000, 1);
    ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    product.paceBytesPerSecond = 6000;
    const std::string errPath = dir + "/err.txt", work = dir + "/OrvexWriter/firmdata00.bin";
    for (const auto& [presses, status] : {std::pair{1, 0}, {2, 130}}) {
        startProduct(product);
        std::FILE* events = popen(("echo $$; exec " + command("update --file {pkg} --port {port} --json") + " 2>'" + errPath + "'").c_str(), "r");
        ASSERT_NE(events, nullptr);
        char line[512];
        ASSERT_NE(std::fgets(line, sizeof line, events), nullptr);
        const pid_t pid = std::atoi(line);
        while (std::fgets(line, sizeof line, events) != nullptr && !std::strstr(line, "\"target\":\"01\"")) {}
        EXPECT_TRUE(std::filesystem::exists(work));
        for (int press = 0; press < presses; ++press) {
            kill(pid, presses == 2 ? SIGHUP : SIGINT);
            for (int i = 0; i < 500 && slurp(errPath).find("again within 5 seconds") == std::string::npos; ++i) usleep(2000);
        }
        while (std::fgets(line, sizeof line, events) != nullptr) {}
        const int raw = pclose(events);
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, status) << slurp(errPath);
        EXPECT_NE(slurp(errPath).find("leaves it in update mode; a later run will offer the recovery update"),
                  std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(work)) << presses;
        InstanceLock lock;
        EXPECT_EQ(lock.acquire(), InstanceLock::Result::Acquired);
    }
}

// A history file that cannot serve costs one warning line and changes nothing else; a good
// one lists the run as JSON and as one CSV row per component.
TEST_F(SerialCommandLine, TheHistoryNeverStandsInTheWayAndListsTheRun) {
    const struct {
        const char* name;
        void (*make)(const std::string& path);
        size_t warnings;
    } cases[] = {
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }, 1},
        {"junk", [](const std::string& p) { std::ofstream(p) << std::string(4096, 'j'); }, 1},
        {"good", [](const std::string&) {}, 0},
    };
    for (const auto& c : cases) {
        const std::string file = dir + "/" + c.name + ".db";
        c.make(file);
        startProduct(product);
        EXPECT_EQ(run("update --file {pkg} --port {port} --history " + file), 0) << c.name << err;
        EXPECT_EQ(out.rfind("[info]\nUpdate completed.\n", 0), 0u) << c.name << out;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), static_cast<long>(c.warnings)) << c.name << err;
    }
    const std::string good = dir + "/good.db";
    ASSERT_EQ(run("history --json --history " + good), 0) << err;
    const nlohmann::json runs = nlohmann::json::parse(out)["runs"];
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["components"][0]["outcome"], "updated");
    EXPECT_EQ(runs[0]["result"]["code"], 0);
    ASSERT_EQ(run("history --csv --history " + good), 0) << err;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);  // the heading and MAIN
}

}  // namespace
}  // namespace tarnwick::test
