// A main window on a recording dialog, updating the simulated product over a real
// pseudo-terminal with a fast clock. Each test gets its own temporary directory (the
// package and the work directory live there).
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

#include "window/control_ids.h"
#include "window/main_window.h"
#include "pkgbuild/package_builder.h"
#include "sim_server.h"
#include "support/fast_clock.h"
#include "support/recording_dialog.h"
#include "support/recording_tone.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {

using Strings = std::vector<std::string>;

class SerialUpdateTest : public ::testing::Test {
public:
    static pkgbuild::ComponentDescription component(uint8_t id, const std::string& name, const std::string& version,
                                                    const std::string& path, uint8_t writeMethod, size_t size) {
        return pkgbuild::patternComponent(id, name, version, path, writeMethod, size);
    }

protected:
    sim::SimConfig product;  // what the product is, before start()
    pkgbuild::PackageDescription pkg;
    RecordingDialog dialog;
    FastClock clock;
    RecordingTone tone;
    std::unique_ptr<sim::SimServer> sim;
    TempDir scratch{"tarnwick-serial"};
    ScopedEnv tmpdir{"TMPDIR", scratch.path() + "/"};
    const std::string& dir = scratch.path();
    std::unique_ptr<MainWindow> window;

    // A product of model 0002 with every slot at 0100, and a package of MAIN and DSP at 0200.
    SerialUpdateTest() {
        product.modelCode = 0x0002;
        pkg.packageId = "0101";
        pkg.components = {component(0x01, "MAIN", "0200", "01", 1, 0x0400), component(0x11, "DSP", "0200", "0111", 1, 0x0300)};
    }

    void TearDown() override {
        window.reset();
        if (sim) sim->stop();
        setenv("TARNWICK_SERIAL_PORTS", "", 1);
    }

    // Starts the product, writes the package, starts the window, loads the package and
    // chooses RS-232C as the operator would.
    void start() {
        sim = std::make_unique<sim::SimServer>(product);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        setenv("TARNWICK_SERIAL_PORTS", sim->slavePath().c_str(), 1);
        const std::string path = dir + "/package.bin";
        ASSERT_EQ(pkgbuild::writePackage(path, pkg), 1);
        window = std::make_unique<MainWindow>(dialog, clock, tone);
        window->initDialog();
        ASSERT_EQ(window->portTable.count, 1);
        dialog.cancelOpenFile = false;
        dialog.fileToOpen = path;
        window->onLoad();
        ASSERT_TRUE(window->packageLoaded) << (dialog.boxes.empty() ? "" : dialog.boxes.back().text);
        dialog.controls.commType = 0;
        window->onCommTypeChanged();
        dialog.boxes.clear();
        dialog.statusLines.clear();
        clock.settles.clear();
        sim->engine().clearEvents();
    }

    // Update pressed with these answers to its questions; gives the result code.
    int pressUpdate(std::deque<int> answers) {
        dialog.answers = std::move(answers);
        window->onUpdate();
        return window->lastResultCode;
    }
    // What the product saw, without the data blocks and the acknowledgements of a read-back.
    Strings commands() const {
        sim->waitUntilIdle();
        Strings out;
        for (const std::string& e : sim->engine().events()) if (e.rfind("frame P ", 0) != 0 && e.rfind("frame A ", 0) != 0) out.push_back(e);
        return out;
    }
    // How many of the product's events begin with the prefix.
    int seen(const std::string& prefix) const {
        sim->waitUntilIdle();
        const auto& events = sim->engine().events();
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }
    // The commands from the first one equal to `from`, inclusive (empty if none is).
    Strings commandsFrom(const std::string& from) const {
        const Strings all = commands();
        return Strings(std::find(all.begin(), all.end(), from), all.end());
    }

    // The product's memory over a component's range equals the component's data.
    virtual sim::SimEngine& productEngine() const { return sim->engine(); }
    bool written(size_t index) const {
        const pkgbuild::ComponentDescription& c = pkg.components[index];
        return productEngine().memory(c.id, c.startAddress, c.endAddressValue()) == c.data;
    }

    std::string workFile(const std::string& name) const { return dir + "/OrvexWriter/" + name; }
};

// The texts of a box list, for comparisons.
inline Strings texts(const std::vector<RecordedBox>& boxes) {
    Strings out;
    for (const RecordedBox& b : boxes) out.push_back(b.text);
    return out;
}

// One press of Update and what it must leave behind; unset fields are not looked at.
struct RunCase {
    std::string name;
    std::function<void(sim::SimConfig& product, pkgbuild::PackageDescription& pkg)> setup = {};
    std::deque<int> answers = {};     // answers to the questions, in turn (none: No)
    int checkMode = -1;               // -1: as the package sets it
    bool allDevices = false;
    Strings boxes = {};               // every box, in order
    Strings commands = {};            // exactly what the product saw, when not empty
    Strings from = {};                // what the product saw from the first of these to the end
    std::vector<std::pair<const char*, int>> counts = {};  // events beginning so, how many
    const char* lastCommand = nullptr;
    std::optional<int> resultCode = {};
    std::vector<size_t> written = {};  // components whose data the product holds
    std::vector<std::pair<const char*, uintmax_t>> workFiles = {};  // left behind, with sizes
    size_t minSettles = 0;             // at least so many one-second settling waits
};

class UpdateRun : public SerialUpdateTest, public ::testing::WithParamInterface<RunCase> {};

inline void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }
inline std::string runCaseName(const ::testing::TestParamInfo<RunCase>& info) { return info.param.name; }

}  // namespace tarnwick::test
