// A main window on a recording dialog, updating the simulated product over a real
// pseudo-terminal with a fast clock. Each test gets its own temporary directory (the
// package and the work directory live there).
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "pkgbuild/package_builder.h"
#include "sim_server.h"
#include "support/fast_clock.h"
#include "support/recording_dialog.h"
#include "support/recording_tone.h"

namespace tarnwick::test {

class SerialUpdateTest : public ::testing::Test {
protected:
    sim::SimConfig product;  // what the product is, before start()
    pkgbuild::PackageDescription pkg;
    RecordingDialog dialog;
    FastClock clock;
    RecordingTone tone;
    std::unique_ptr<sim::SimServer> sim;
    std::unique_ptr<MainWindow> window;
    std::string dir;

    // A product of model 0002 with every slot at 0100, and a package of MAIN and DSP at 0200.
    SerialUpdateTest() {
        product.modelCode = 0x0002;
        pkg.packageId = "0101";
        pkg.components = {component(0x01, "MAIN", "0200", "01", 1, 0x0400), component(0x11, "DSP", "0200", "0111", 1, 0x0300)};
    }

    static pkgbuild::ComponentDescription component(uint8_t id, const std::string& name, const std::string& version,
                                                    const std::string& path, uint8_t writeMethod, size_t size) {
        pkgbuild::ComponentDescription c;
        c.id = id;
        c.name = name;
        c.versionText = version;
        c.switchPath = path;
        c.writeMethod = writeMethod;
        c.startAddress = 0x1000u * id;
        c.data = pkgbuild::patternData(size, id);
        return c;
    }

    void SetUp() override {
        char templ[] = "/tmp/tarnwick-serial-XXXXXX";
        ASSERT_NE(mkdtemp(templ), nullptr);
        dir = templ;
        const char* tmp = std::getenv("TMPDIR");
        savedTmp_ = tmp ? tmp : "";
        hadTmp_ = tmp != nullptr;
        setenv("TMPDIR", (dir + "/").c_str(), 1);
    }

    void TearDown() override {
        window.reset();
        if (sim) sim->stop();
        setenv("TARNWICK_SERIAL_PORTS", "", 1);
        if (hadTmp_) {
            setenv("TMPDIR", savedTmp_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
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

    void update() { window->onUpdate(); }

    // What the product saw, without the data blocks and the acknowledgements of a read-back.
    std::vector<std::string> commands() const {
        sim->waitUntilIdle();
        std::vector<std::string> out;
        for (const std::string& e : sim->engine().events()) {
            if (e.rfind("frame P ", 0) == 0 || e.rfind("frame A ", 0) == 0) continue;
            out.push_back(e);
        }
        return out;
    }

    bool sawCommand(const std::string& prefix) const {
        sim->waitUntilIdle();
        for (const std::string& e : sim->engine().events()) {
            if (e.rfind(prefix, 0) == 0) return true;
        }
        return false;
    }

    // The product's memory over a component's range equals the component's data.
    bool written(size_t index) const {
        const pkgbuild::ComponentDescription& c = pkg.components[index];
        return sim->engine().memory(c.id, c.startAddress, c.endAddressValue()) == c.data;
    }

    std::string workFile(const std::string& name) const { return dir + "/OrvexWriter/" + name; }

private:
    std::string savedTmp_;
    bool hadTmp_ = false;
};

// The texts of a box list, for comparisons.
inline std::vector<std::string> texts(const std::vector<RecordedBox>& boxes) {
    std::vector<std::string> out;
    for (const RecordedBox& b : boxes) out.push_back(b.text);
    return out;
}

}  // namespace tarnwick::test
