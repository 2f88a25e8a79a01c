// A station run from its start to its quit against the simulated product on a
// pseudo-terminal: what ends up in its slot, in its error logs and on the product.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "e2e/serial_update_fixture.h"
#include "station/station.h"
#include "station/station_slot.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

const char* const kValidInfo = "IPAddress;127.0.0.1\r\nSkip;ON\r\nDrive;{drive}\r\n";

struct StationCase {
    std::string name;
    std::function<void(sim::SimConfig&, pkgbuild::PackageDescription&)> setup = {};
    const char* info = kValidInfo;  // null: no information file
    const char* packageBytes = nullptr;  // instead of the package: a file of these bytes
    bool noUpdateFile = false;
    std::optional<int> commType = {};  // where updateControls left the communication type
    std::string label = {};             // the slot's label or result word
    std::string message = {};           // the slot's error line
    std::string target = {};
    int percent = 0;
    std::string logMessage = {};        // the one error log's message line; empty: no log
    Strings boxes = {};
    std::vector<size_t> written = {};  // components the product holds afterwards
};

const StationCase kCases[] = {
    {.name = "SerialOnlyPackageMovesToRs232cAndSucceeds", .commType = 0, .label = "SUCCESS", .written = {0, 1}},
    {.name = "SerialAndIeee1394PackageMovesToIeee1394AndUpdatesNothing", .setup = [](auto&, auto& p) { p.commMask = 5; },
     .commType = 2, .label = "Loading file..."},
    {.name = "ChecksumMismatchLogsTheFailureLine", .setup = [](auto& s, auto&) { s.badComponentChecksum = {0x11}; },
     .commType = 0, .label = "ERROR", .message = "No[07],Target[DSP],Process[Check of update],Error[Checksum error!]",
     .target = "02/02 DSP", .percent = 66,
     .logMessage = "No[07],Target[DSP],Process[Check of update],Error[Checksum error!]", .written = {0, 1}},
    {.name = "MissingInformationFile", .info = nullptr, .label = "ERROR", .logMessage = "Update information file reading error!",
     .boxes = {"Processing error of Open update info file!"}},
    {.name = "NoUpdateFileOnTheDrive", .noUpdateFile = true, .label = "ERROR", .logMessage = "Update file is not found!"},
    {.name = "UnreadableUpdateFileQuietly", .packageBytes = "not a package\r\n", .label = "ERROR",
     .logMessage = "Update file reading error!"},
};

void PrintTo(const StationCase& c, std::ostream* os) { *os << c.name; }

class StationFixture : public SerialUpdateTest {
protected:
    ScopedArea area;
    ScopedEnv programDir{"TARNWICK_PROGRAM_DIR", dir + "/"};
    std::string stationDir = dir + "/07";
    std::string drive = dir + "/drive";
    std::unique_ptr<Station> station;

    void runStation(const StationCase& c) {
        prepareStation(c);
        window = std::make_unique<MainWindow>(dialog, clock, tone, Strings{"/07"});
        station = std::make_unique<Station>(*window, dialog);
        window->station = station.get();
        window->initDialog();
    }

    // The product, the station's directory, its information file and its drive.
    void prepareStation(const StationCase& c) {
        pkg.commMask = 1;
        if (c.setup) c.setup(product, pkg);
        sim = std::make_unique<sim::SimServer>(product);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        setenv("TARNWICK_SERIAL_PORTS", sim->slavePath().c_str(), 1);
        fs::create_directories(stationDir);
        fs::create_directories(drive);
        if (c.packageBytes != nullptr) {
            std::ofstream(drive + "/line.bin", std::ios::binary) << c.packageBytes;
        } else if (!c.noUpdateFile) {
            ASSERT_EQ(pkgbuild::writePackage(drive + "/line.bin", pkg), 1);
        }
        if (c.info != nullptr) {
            std::string info = c.info;
            for (size_t at; (at = info.find("{drive}")) != std::string::npos;) info.replace(at, 7, drive);
            std::ofstream(stationDir + "/UpdateInformation07.txt", std::ios::binary) << info;
        }
    }

    // Station 7's slot; empty while no station has made the area.
    SlotContent slot() const {
        SharedArea reader;
        if (reader.openReadOnly(area.name(), kSharedAreaSize) != SharedArea::Result::Mapped) return {};
        return readSlot(stationSlot(reader.data(), 7));
    }

    // The message lines of the station's error logs.
    Strings logMessages() const {
        Strings out;
        for (const auto& entry : fs::directory_iterator(stationDir)) {
            const std::string name = entry.path().filename().string();
            if (name.size() != 25 || name.substr(14) != "Error07.txt") continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const size_t last = content.rfind(';');
            out.push_back(content.substr(last + 1, content.size() - last - 3));
        }
        return out;
    }
};

class StationRunTest : public StationFixture, public ::testing::WithParamInterface<StationCase> {};

TEST_P(StationRunTest, EndsWithItsResultInTheSlot) {
    const StationCase& c = GetParam();
    runStation(c);
    EXPECT_TRUE(dialog.ended);
    if (c.commType) { EXPECT_EQ(dialog.controls.commType, *c.commType); }
    const SlotContent s = slot();
    EXPECT_EQ(std::tie(s.label, s.message, s.target, s.percent), std::tie(c.label, c.message, c.target, c.percent));
    EXPECT_EQ(logMessages(), c.logMessage.empty() ? Strings{} : Strings{c.logMessage});
    EXPECT_EQ(texts(dialog.boxes), c.boxes);
    EXPECT_EQ(tone.played.size(), c.boxes.size());
    for (size_t i = 0; i < pkg.components.size(); ++i) {
        const bool expected = std::find(c.written.begin(), c.written.end(), i) != c.written.end();
        EXPECT_EQ(written(i), expected) << "component " << i;
    }
    if (c.written.empty()) { EXPECT_EQ(seen("text RBUPDATE"), 0); }
}

TEST_F(StationFixture, WithoutAnAreaSaysSoOnceAndStillUpdates) {
    ScopedEnv badName("TARNWICK_SHM_NAME", "/no/such/area");
    runStation(kCases[0]);
    ASSERT_EQ(dialog.boxes.size(), 1u);
    EXPECT_EQ(std::tie(dialog.boxes[0].text, dialog.boxes[0].caption), std::make_tuple("(CreateFileMapping)", kAreaFailureCaption));
    EXPECT_TRUE(tone.played.empty());
    EXPECT_TRUE(written(0) && written(1));
    EXPECT_TRUE(fs::is_directory(stationDir + "/Work"));  // each station's own work directory
}

// A station process asked to stop while it writes the product: the slot does not keep
// "Updating..." for a station that is gone.
TEST_F(StationFixture, AStopBySignalEndsTheRunWithErrorLogAndNoWorkFiles) {
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir), scale("TARNWICK_TIME_SCALE", "0");
    product.paceBytesPerSecond = 4000;
    for (const auto& [signal, name] : {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGINT, "SIGINT"}}) {
        if (sim) sim->stop();
        prepareStation(kCases[0]);  // a product fresh out of the box each time
        const pid_t pid = fork();
        if (pid == 0) {
            execl(TARNWICK_BINARY, TARNWICK_BINARY, "/07", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(pid, 0);
        for (int polls = 0; polls < 2000 && slot().label != "Updating..."; ++polls) usleep(5000);
        ASSERT_EQ(slot().label, "Updating...") << name;
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 130) << name;
        const SlotContent s = slot();
        EXPECT_EQ(s.label, "ERROR") << name;
        EXPECT_NE(s.message.find(std::string("Error[Interrupted by ") + name + "]"), std::string::npos) << s.message;
        EXPECT_EQ(logMessages(), Strings{s.message}) << name;
        EXPECT_TRUE(fs::is_empty(stationDir + "/Work")) << name;
        for (const auto& entry : fs::directory_iterator(stationDir))
            if (entry.path().filename().string().find("Error07.txt") != std::string::npos) fs::remove(entry.path());
    }
}

INSTANTIATE_TEST_SUITE_P(Station, StationRunTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tarnwick::test
