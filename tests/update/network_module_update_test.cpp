// The network module's update flow against the simulated module and its TFTP server, each
// test on a loopback address of its own, with the restarts passing on a virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "package/component_data.h"
#include "package/package_loader.h"
#include "pkgbuild/package_builder.h"
#include "sim_net_module.h"
#include "support/fast_clock.h"
#include "support/recording_host.h"
#include "support/temp_dir_env.h"
#include "update/ethernet/network_module_update.h"

namespace tarnwick::test {
namespace {

using Strings = std::vector<std::string>;
using Files = std::map<std::string, std::vector<uint8_t>>;  // stored by the module, by name

constexpr uint8_t kBootloader = 1, kImageCne = 2, kImage = 3, kWebPage = 4;

struct QuietSink : LoadSink {
    void loadStatus(const std::string&) override {}
    void loadFailure(const std::string&) override {}
};

pkgbuild::ComponentDescription moduleComponent(uint8_t id, const std::string& name, uint8_t kind, size_t size) {
    pkgbuild::ComponentDescription c = pkgbuild::patternComponent(id, name, "0102", "", 1, size);
    c.attributes = kAttrNetworkModule | static_cast<uint32_t>(kind) << kKindMarkShift;
    return c;
}

class NetworkModuleUpdate : public ::testing::Test {
protected:
    FastClock clock{1};
    RecordingHost host;
    TempDir scratch{"tarnwick-netmod"};
    pkgbuild::PackageDescription description;
    UpdatePackage package;
    UpdateJob job;
    CommandChannel channel;
    TargetLink link{channel, clock};
    std::unique_ptr<sim::SimNetModule> module;
    uint16_t tftpPort = 0;  // the module's TFTP server port; 0 any free one

    // Starts the module at address (none when config is absent), loads the package and
    // selects every component.
    void start(const std::string& address, std::optional<sim::NetModuleConfig> config = sim::NetModuleConfig{}) {
        if (config) {
            config->address = address;
            config->tftpPort = tftpPort;
            config->bootRestartMs = config->appRestartMs = 0;
            module = std::make_unique<sim::SimNetModule>(*config);
            const bool started = module->start();
            if (!started && tftpPort != 0) GTEST_SKIP() << "no TFTP port " << tftpPort << ": " << module->error();
            ASSERT_TRUE(started) << module->error();
        }
        const std::string path = scratch.file("package.bin");
        ASSERT_EQ(pkgbuild::writePackage(path, description), 1);
        QuietSink sink;
        ASSERT_EQ(loadPackage(path, scratch.file("work"), package, sink), 1);
        job.package = &package;
        job.ipText = address;
        job.workDir = scratch.file("work");
        for (size_t i = 0; i < description.components.size(); ++i) job.targetChecked[i] = 1;
        link.setOwner(&host);
    }
    // With the module's TFTP server on the services database's port, the flow finds it there.
    bool run() {
        if (tftpPort != 0) return updateNetworkModule(job, host, link, channel, clock);
        return updateNetworkModule(job, host, link, channel, clock, module ? module->tftp().port() : 9);
    }

    Strings events() const { return module ? module->events() : Strings{}; }
    Files files() const { return module ? module->tftp().files() : Files{}; }
    // The status lines with this text, as "percent" numbers.
    std::vector<int> progressOf(const std::string& text) const {
        std::vector<int> out;
        for (const StatusCall& s : host.statuses) {
            if (s.text == text) out.push_back(s.showProgress ? s.percent : -1);
        }
        return out;
    }
};

// The status lines of one restart: the switch command's line, then the wait's progress.
std::vector<int> restartLines(int seconds, int restarts) {
    std::vector<int> out;
    for (int r = 0; r < restarts; ++r) {
        out.push_back(-1);
        for (int n = 1; n <= seconds; ++n) out.push_back(n * 100 / seconds);
    }
    return out;
}

struct FlowCase {
    const char* name;
    const char* address;
    std::vector<uint8_t> kinds;
    bool startInBootloader;
    uint16_t tftpPort;
    Strings stored;  // the module's "stored" events, in order
    Strings expectedFiles;
    int bootSwitches, appRestarts;  // "start bootloader" and "start image" commands
};

class NetworkModuleFlow : public NetworkModuleUpdate, public ::testing::WithParamInterface<FlowCase> {};

TEST_P(NetworkModuleFlow, ComponentsGoThroughTheBootLoaderAndTheModuleReturnsToItsApplication) {
    const FlowCase& c = GetParam();
    for (size_t i = 0; i < c.kinds.size(); ++i) {
        description.components.push_back(
            moduleComponent(static_cast<uint8_t>(0x51 + i), "NET" + std::to_string(i + 1), c.kinds[i], 700 - 100 * i));
    }
    sim::NetModuleConfig config;
    config.startInBootloader = c.startInBootloader;
    tftpPort = c.tftpPort;
    ASSERT_NO_FATAL_FAILURE(start(c.address, config));
    if (IsSkipped()) return;

    EXPECT_TRUE(run());
    const Strings all = events();
    Strings stored;
    for (const std::string& e : all) {
        if (e.rfind("stored ", 0) == 0) stored.push_back(e.substr(7));
    }
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(std::count(all.begin(), all.end(), "command start bootloader"), c.bootSwitches);
    EXPECT_EQ(std::count(all.begin(), all.end(), "command start image"), c.appRestarts);
    Files expected;
    for (size_t i = 0; i < c.expectedFiles.size(); ++i) expected[c.expectedFiles[i]] = description.components[i].data;
    EXPECT_EQ(files(), expected);
    EXPECT_EQ(progressOf("Reboot(Bootloader Mode)..."), restartLines(90, static_cast<int>(c.kinds.size())));
    EXPECT_EQ(progressOf("Reboot(Application Mode)..."), restartLines(150, c.appRestarts));
    EXPECT_EQ(host.statuses.back().targetId, 0x51 + c.kinds.size() - 1);  // the last component's restart
    EXPECT_EQ(job.currentNumber, c.kinds.size());
    EXPECT_TRUE(host.linkErrors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NetworkModuleFlow,
    ::testing::Values(
        // Already in its boot loader: not switched, yet waited for and connected anew (its
        // TFTP server on the "tftp" service's port).
        FlowCase{"BootLoaderPrompt", "127.0.41.1", {kImage}, true, 69,
                 {"image 700"}, {"NET1_0102.bcd"}, 0, 1},
        // Back to the application once, after both.
        FlowCase{"ImageCneAndWebPage", "127.0.41.2", {kImageCne, kWebPage}, false, 0,
                 {"image cne 700", "webpage 600"}, {"NET1_0102.bcd", "NET2_0102.bcd"}, 1, 1},
        // Back to the application after the boot loader, into the boot loader again for the image.
        FlowCase{"BootLoaderThenImage", "127.0.41.3", {kBootloader, kImage}, false, 0,
                 {"bootloader 700", "image 600"}, {"BL_NET1_0102.bcd", "NET2_0102.bcd"}, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A module component the product already has (under "Normal update.") or one not selected:
// the flow succeeds without a word to the module or its TFTP server.
TEST_F(NetworkModuleUpdate, ACurrentOrUnselectedComponentLeavesTheModuleAlone) {
    pkgbuild::ComponentDescription frameComponent = moduleComponent(0x11, "DSP", 0, 200);
    frameComponent.attributes = kAttrEthernetFrames;
    description.components = {moduleComponent(0x51, "NET1", kImage, 300), frameComponent};
    ASSERT_NO_FATAL_FAILURE(start("127.0.41.4"));
    link.targetInfo.slotVersions[0] = "0102  ";  // the version the product reported for the module
    EXPECT_TRUE(run());
    job.targetChecked[0] = 0;
    EXPECT_TRUE(run());
    EXPECT_TRUE(events().empty() && module->tftp().received().empty());
    ASSERT_EQ(host.statuses.size(), 1u);  // the selected one only
    EXPECT_EQ(host.statuses[0].text, "Pass update.");
    EXPECT_EQ(host.waits, std::vector<uint32_t>{3});
}

struct FailureCase {
    const char* name;
    const char* address;
    uint8_t kind;
    bool moduleRunning;
    std::vector<sim::AckFault> ackFaults;
    bool dataOverLimit;  // the data file grows past 16 MiB, its byte sum unchanged
    std::vector<std::array<uint32_t, 4>> reports;  // target, error, process, progress
    const char* lastEvent;
    Strings tftpTrace = {};  // the wire trace's TFTP lines, without their times
};

class NetworkModuleFailure : public NetworkModuleUpdate, public ::testing::WithParamInterface<FailureCase> {};

// The first failure ends the flow, reported once or not at all, and the module is left in
// the mode it is in; the component after it is not touched.
TEST_P(NetworkModuleFailure, EndsTheFlowWithItsOneReport) {
    const FailureCase& c = GetParam();
    description.components = {moduleComponent(0x51, "NET1", c.kind, 300), moduleComponent(0x52, "NET2", kWebPage, 200)};
    std::optional<sim::NetModuleConfig> config;
    if (c.moduleRunning) config = sim::NetModuleConfig{};
    if (config) config->ackFaults = c.ackFaults;
    ASSERT_NO_FATAL_FAILURE(start(c.address, config));
    if (c.dataOverLimit) std::filesystem::resize_file(package.components[0].dataFilePath, kComponentDataLimit + 1);
    ASSERT_TRUE(link.setTrace(scratch.file("trace.txt")));

    EXPECT_FALSE(run());
    EXPECT_TRUE(link.setTrace(""));
    Strings tftp;
    std::ifstream trace(scratch.file("trace.txt"));
    for (std::string line; std::getline(trace, line);) {
        const size_t at = line.find("-- tftp ");
        if (at == std::string::npos) continue;
        tftp.push_back(std::regex_replace(line.substr(at + 8), std::regex("port [0-9]+"), "port P"));
    }
    EXPECT_EQ(tftp, c.tftpTrace);
    std::vector<std::array<uint32_t, 4>> reports;
    for (const ErrorRecord& r : host.linkErrors) reports.push_back({r.targetId, r.errorCode, r.processCode, r.progress});
    EXPECT_EQ(reports, c.reports);
    EXPECT_TRUE(host.checkErrors.empty() && files().empty());
    EXPECT_EQ(job.currentNumber, 1);
    // The last command line the module took (its connect and restart events come on its own time).
    Strings steps = events();
    std::erase_if(steps, [](const std::string& e) { return e.rfind("command ", 0) != 0; });
    if (module) { EXPECT_EQ(steps.back(), c.lastEvent); }
}

INSTANTIATE_TEST_SUITE_P(
    Table, NetworkModuleFailure,
    ::testing::Values(
        FailureCase{"NoCommandPort", "127.0.41.6", kImage, false, {}, false, {{0x51, numberOf(ErrorCode::PortOpen), kProcConnect, 0}}, ""},
        FailureCase{"UnknownKind", "127.0.41.7", 5, true, {}, false, {}, "command start bootloader"},
        FailureCase{"DataOverLimit", "127.0.41.8", kImage, true, {}, true, {}, "command update image"},
        FailureCase{"TransferRefused", "127.0.41.9", kImage, true, {{sim::AckFaultKind::Error, 0, 1, 3}}, false,
                    {{0x51, numberOf(ErrorCode::ProductError), kProcUpdate, 0}}, "command update image",
                    {"write request \"NET1_0102.bcd\", 300 bytes, to port P",
                     "error reply 3 \"Simulated failure.\" (awaiting the acknowledgement of block 0)",
                     "transfer of \"NET1_0102.bcd\" failed with link error 225"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tarnwick::test
