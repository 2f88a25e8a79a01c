// The check and the update over Ethernet from the window's buttons to the result box and
// from the command line, against the simulated product on its own ports: which port
// carries what, the waits, how each failure ends, exit codes and usage errors.
#include "e2e/ethernet_fixture.h"
#include "e2e/program_run.h"

namespace tarnwick::test {
namespace {

const char* const kRecovery = "Is the recovery update executed?\n\nNote :\n The firmware of all devices is updated!";

TEST_F(EthernetTest, CompleteUpdateUsesEachPortForItsStepsAndWaitsForTheRestart) {
    if (!startEthernet()) GTEST_SKIP() << kNotPermitted;
    window->linkTracePath = dir + "/trace.txt";
    window->onUpdate();
    EXPECT_EQ(texts(dialog.boxes), Strings{"Update completed."});
    const std::string trace = slurp(dir + "/trace.txt");
    EXPECT_NE(trace.find("connect " + net.address + " port 23: ok"), std::string::npos);
    // Both switches ask to keep the connection (option byte 1).
    EXPECT_NE(trace.find("TX AA 58 01 11 01 "), std::string::npos);
    EXPECT_NE(trace.find("TX AA 58 01 10 01 "), std::string::npos);
    EXPECT_EQ(onPort(23), (Strings{"text VIALL?"}));
    EXPECT_EQ(onPort(5000), (Strings{"text VIALL?", "text SYPKG 0101", "text RBUPDATE", "frame C 01", "frame I 01",
                                     "frame L 01", "frame I 01", "frame X 01>11", "frame C 11", "frame L 11",
                                     "frame I 11", "frame X 01>10", "text RBNORM"}));
    EXPECT_TRUE(written(0) && written(1));
    EXPECT_EQ(server->engine().mode(), sim::ProductMode::Normal);
    std::vector<int> waiting;  // the restart's progress, 1 s of 150 a line
    for (const RecordedStatus& s : dialog.statusLines)
        if (s.text == "Waiting for start of products." && s.showProgress == 1) waiting.push_back(s.percent);
    ASSERT_EQ(waiting.size(), 150u);
    EXPECT_EQ(waiting.back(), 100);
}

// One press of Update; unset fields are not looked at.
struct EthernetCase {
    const char* name;
    std::function<void(sim::SimConfig&, sim::TcpOptions&, pkgbuild::PackageDescription&)> setup;
    std::deque<int> answers;
    Strings boxes;
    const char* tcpPortText = "5000";
    std::vector<std::pair<uint16_t, Strings>> ports = {};  // exactly what each port carried
    int updateModeAfter = 0;
};

class EthernetRuns : public EthernetTest, public ::testing::WithParamInterface<EthernetCase> {};

TEST_P(EthernetRuns, EndAsExpected) {
    const EthernetCase& c = GetParam();
    if (c.setup) c.setup(product, net, pkg);
    if (!startEthernet(c.tcpPortText)) GTEST_SKIP() << kNotPermitted;
    dialog.answers = c.answers;
    window->onUpdate();
    EXPECT_EQ(texts(dialog.boxes), c.boxes);
    for (const auto& [port, carried] : c.ports) EXPECT_EQ(onPort(port), carried) << "port " << port;
    EXPECT_EQ(dialog.controls.updateMode, c.updateModeAfter);
    EXPECT_EQ(window->activeLink, nullptr);
    EXPECT_TRUE(dialog.isEnabled(ctl::Update));
}

const EthernetCase kRuns[] = {
    {"Port23RefusedFailsWithoutTrying5000", [](auto&, auto& n, auto&) { n.refuseTextPort = true; }, {},
     {"Communication error!"}, "5000", {{5000, {}}}},
    {"ConfirmedRecoveryKeepsAllDeviceUpdate", [](auto& p, auto&, auto&) { p.startInUpdateMode = true; }, {kAnswerYes},
     {kRecovery, "Update completed."}, "5000", {}, 1},
    // The update port moves the update-mode connect and the return to normal mode; the
    // recovery connect, versions, package id and reboot stay on 5000.
    {"AnotherUpdatePortMovesOnlyItsSteps", [](auto&, auto& n, auto& k) { n.updatePort = 5005, k.components.resize(1); }, {},
     {"Update completed."}, "5005",
     {{5000, {"text VIALL?", "text SYPKG 0101", "text RBUPDATE"}},
      {5005, {"frame C 01", "frame I 01", "frame L 01", "frame I 01", "frame X 01>10", "text RBNORM"}}}},
    // The product drops the connection inside "RBUPDATE\r": no answer, no restart.
    {"UnansweredRebootCommandIsACommunicationError", [](auto& p, auto& n, auto&) { p.packageId = "0101", n.closeAfterBytes = 8; },
     {}, {"Communication error!"}, "5000", {{5000, {"text VIALL?"}}}},
    // Nor does the product return to normal mode.
    {"UnreachableNetworkModuleFailsWithoutReturningToNormalMode",
     [](auto&, auto&, auto& k) {
         k.components.resize(1);
         k.components.push_back(SerialUpdateTest::component(0x41, "NETIMG", "0200", "41", 7, 0x200));
         k.components.back().attributes = kAttrNetworkModule;
     },
     {}, {"Target : NETIMG\nProcess : Connection with target\nError : Communication port open error!\n", "Update Failed!"}, "5000",
     {{5000, {"text VIALL?", "text SYPKG 0101", "text RBUPDATE", "frame C 01", "frame I 01", "frame L 01", "frame I 01"}}}},
    // Damaged network-module data fail the run before the package id is written.
    {"ADamagedNetworkModuleComponentFailsBeforeTheProductIsChanged",
     [](auto&, auto&, auto& k) {
         k.components.push_back(SerialUpdateTest::component(0x41, "NETIMG", "0200", "41", 7, 0x200));
         k.components.back().attributes = kAttrNetworkModule;
         k.components.back().checksum = pkgbuild::checksumFor(7, k.components.back().data) + 1;
     },
     {}, {"Update Failed!"}, "5000", {{5000, {"text VIALL?"}}}},
};

INSTANTIATE_TEST_SUITE_P(Outcomes, EthernetRuns, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return std::string(info.param.name); });

struct IpCase {
    const char* name;
    const char* args;  // {pkg} is the package, {ip} the product's address
    int status;
    const char* out;   // the whole standard output; null: not looked at
    void (*setup)(sim::SimConfig&, sim::TcpOptions&) = nullptr;
};

const IpCase kIpCases[] = {
    {"CheckOk", "check --ip {ip}", 0, "[info]\nCommunication check OK.\n"},
    {"CheckRefused", "check --ip {ip}", 1, "[error]\nCommunication check NG!\n",
     [](sim::SimConfig&, sim::TcpOptions& n) { n.refuseTextPort = true; }},
    // (The summary that follows the result box is left to the RS-232C runs.)
    {"UpdateOnAnotherPort", "update --file {pkg} --ip {ip} --tcp-port 5005", 0, "[info]\nUpdate completed.\n",
     [](sim::SimConfig&, sim::TcpOptions& n) { n.updatePort = 5005; }},
    // The address and port are checked before anything reaches the product.
    {"ThreeNumbers", "check --ip 127.0.0", 64, ""},
    {"NumberAbove255", "check --ip 127.0.0.256", 64, ""},
    {"NotANumber", "update --file {pkg} --ip 127.0.x.1", 64, ""},
    {"PortAndIp", "update --file {pkg} --ip {ip} --port /dev/null", 64, ""},
    {"TcpPortZero", "check --ip {ip} --tcp-port 0", 64, ""},
    {"TcpPortTooLarge", "check --ip {ip} --tcp-port 65536", 64, ""},
    {"TcpPortWithoutIp", "check --port /dev/null --tcp-port 5000", 64, ""},
};

TEST_F(EthernetTest, CommandLineOverEthernet) {
    const std::string packagePath = dir + "/package.bin";
    ASSERT_EQ(pkgbuild::writePackage(packagePath, pkg), 1);
    for (const IpCase& c : kIpCases) {
        if (server) server->stop();
        sim::SimConfig config = product;
        sim::TcpOptions options = net;
        if (c.setup) c.setup(config, options);
        server = std::make_unique<sim::SimTcpServer>(config, options);
        if (!server->start()) {
            if (server->errorNumber() == EACCES) GTEST_SKIP() << kNotPermitted;
            FAIL() << server->error();
        }
        std::string out, err;
        const std::string args = expandWords(c.args, {{"{pkg}", "'" + packagePath + "'"}, {"{ip}", net.address}});
        EXPECT_EQ(runProgram(args, dir, out, err), c.status) << c.name << "\n" << out << err;
        if (c.out) { EXPECT_EQ(out.substr(0, out.find("[summary]\n")), c.out) << c.name; }
        if (c.status == 64) { EXPECT_TRUE(server->log().empty()) << c.name; }
    }
}

}  // namespace
}  // namespace tarnwick::test
