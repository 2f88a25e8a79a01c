// `tarnwick check --ip` and `tarnwick update --ip` against the simulated product on its
// own ports of a loopback address: result boxes, exit codes and usage errors.
#include "e2e/ethernet_fixture.h"
#include "e2e/program_run.h"

namespace tarnwick::test {
namespace {

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
    {"Update", "update --file {pkg} --ip {ip} --check verify", 0, "[info]\nUpdate completed.\n"},
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
        std::string args = c.args, out, err;
        for (const auto& [word, value] : {std::pair<std::string, std::string>{"{pkg}", "'" + packagePath + "'"},
                                          {"{ip}", net.address}}) {
            if (auto at = args.find(word); at != std::string::npos) args.replace(at, word.size(), value);
        }
        EXPECT_EQ(runProgram(args, dir, out, err), c.status) << c.name << "\n" << out << err;
        if (c.out) { EXPECT_EQ(out, c.out) << c.name; }
        if (c.status == 64) { EXPECT_TRUE(server->log().empty()) << c.name; }
    }
}

}  // namespace
}  // namespace tarnwick::test
