// "Check Comm." and "Update" pressed in the window against the simulated product on a
// pseudo-terminal: the status window and its bar move, the boxes come with the tone, and
// the controls are locked while the procedure runs and unlocked at its end.
#include <QComboBox>
#include <QScreen>
#include <QTableWidget>
#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

#include "pkgbuild/package_builder.h"
#include "qt/qt_window_fixture.h"
#include "sim_server.h"

namespace tarnwick::test {
namespace {

using Strings = std::vector<std::string>;

class QtSerialUpdateTest : public QtWindowTest {
protected:
    sim::SimConfig product;
    pkgbuild::PackageDescription pkg;
    std::unique_ptr<sim::SimServer> sim;
    std::optional<ScopedEnv> ports;

    void SetUp() override {
        product.modelCode = 0x0002;
        pkg.packageId = "0101";
        for (auto [id, name, path] : {std::tuple{0x01, "MAIN", "01"}, std::tuple{0x11, "DSP", "0111"}}) {
            pkgbuild::ComponentDescription c;
            c.id = static_cast<uint8_t>(id);
            c.name = name;
            c.versionText = "0200";
            c.switchPath = path;
            c.startAddress = 0x1000u * c.id;
            c.data = pkgbuild::patternData(0x800, c.id);
            pkg.components.push_back(c);
        }
    }
    void TearDown() override {
        QtWindowTest::TearDown();
        if (sim) sim->stop();
    }

    // The product on a pseudo-terminal as the only port, the window started, the package
    // loaded through the Load button and RS-232C chosen.
    void startWithProduct() {
        sim = std::make_unique<sim::SimServer>(product);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        ports.emplace("TARNWICK_SERIAL_PORTS", sim->slavePath());
        const std::string path = scratch.file("package.bin");
        ASSERT_EQ(pkgbuild::writePackage(path, pkg), 1);
        start();
        auto* list = as<QComboBox>(ctl::PortList);
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->currentText().toStdString(), "COM1  " + sim->slavePath());
        op->fileToChoose = path;
        click(ctl::Load);
        ASSERT_TRUE(window->packageLoaded);
        click(ctl::RadioRs232c);
        op->boxes.clear();
        op->statusSeen.clear();
        tone.played.clear();
        for (int id : {ctl::Load, ctl::Update, ctl::CheckComm, ctl::Quit, ctl::RadioRs232c}) op->enabledWhileBusy[id] = false;
    }

    // One box with this text and icon, with the tone, after the status window was gone.
    void expectOneBox(const char* text, QMessageBox::Icon icon) {
        ASSERT_EQ(op->boxes.size(), 1u);
        EXPECT_EQ(op->boxes[0].text, text);
        EXPECT_EQ(op->boxes[0].icon, icon);
        EXPECT_EQ(op->boxes[0].caption, "Ostrel Firmware Writer");
        EXPECT_FALSE(op->boxes[0].statusWindowOpen);
        EXPECT_EQ(tone.played, (std::vector<std::pair<uint32_t, uint32_t>>{{442, 100}}));
    }

    void expectUnlockedAfterwards() {
        for (auto& [id, everEnabled] : op->enabledWhileBusy) {
            EXPECT_FALSE(everEnabled) << id << " was enabled while the procedure ran";
            EXPECT_TRUE(enabled(id)) << id << " is not enabled again";
        }
        EXPECT_EQ(dialog->statusWindow(), nullptr);
        EXPECT_EQ(window->statusWindow, nullptr);
        EXPECT_EQ(window->activeLink, nullptr);
        EXPECT_FALSE(dialog->busy());
    }
};

TEST_F(QtSerialUpdateTest, UpdateButtonWritesTheProductWithTheBarMovingAndEndsWithTheBox) {
    startWithProduct();
    // With TARNWICK_SCREENSHOT_DIR set, the screen is saved once mid-write, for a look by eye.
    const char* shots = std::getenv("TARNWICK_SCREENSHOT_DIR");
    bool saved = false;
    std::vector<std::pair<std::string, std::string>> positions;  // status line, position line
    op->onStatus = [&](const QtStatusWindow& s) {
        positions.emplace_back(s.text().toStdString(), s.position().toStdString());
        if (shots == nullptr || saved || !s.progressShown() || s.progress() < 30) return;
        saved = true;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        s.screen()->grabWindow(0).save(QString(shots) + "/update-running.png");
    };
    click(ctl::Update);
    expectOneBox("Update completed.", QMessageBox::Information);
    // The status window showed the steps, and its bar moved through a write.
    ASSERT_FALSE(op->statusSeen.empty());
    EXPECT_EQ(op->statusSeen.front().text, "Updating start...");
    std::vector<int> barValues;
    bool sawDsp = false;
    for (const auto& s : op->statusSeen) {
        if (s.bar) barValues.push_back(s.percent);
        sawDsp = sawDsp || s.text.find("[11:DSP]") != std::string::npos;
    }
    EXPECT_TRUE(sawDsp);
    // Beside the counter, the overall position and the time taken so far (MAIN's settling
    // waits are behind by DSP's turn).
    const auto dsp = std::find_if(positions.begin(), positions.end(),
                                  [](const auto& p) { return p.first.rfind("02/02 [11:DSP]", 0) == 0; });
    ASSERT_NE(dsp, positions.end());
    EXPECT_EQ(dsp->second.rfind("component 2 of 2   elapsed ", 0), 0u) << dsp->second;
    EXPECT_NE(dsp->second, "component 2 of 2   elapsed 0:00");
    ASSERT_GE(barValues.size(), 2u);
    const auto [low, high] = std::minmax_element(barValues.begin(), barValues.end());
    EXPECT_LT(*low, *high);
    expectUnlockedAfterwards();
    EXPECT_EQ(sim->engine().packageId(), "0101");
    for (const pkgbuild::ComponentDescription& c : pkg.components) {
        EXPECT_EQ(sim->engine().memory(c.id, c.startAddress, c.endAddressValue()), c.data) << c.name;
    }
}

// The component list: the package after Load, the product's versions beside it after a
// check, nothing of it editable; the fields the operator cannot type into do not look so.
TEST_F(QtSerialUpdateTest, ComponentListShowsThePackageAndAfterACheckTheProduct) {
    product.slotVersions[2] = "0150";  // DSP's slot
    startWithProduct();
    auto rows = [this] {
        const auto* table = dialog->findChild<QTableWidget*>("componentPanel");
        std::vector<Strings> out;
        for (int r = 0; r < table->rowCount(); ++r) {
            Strings cells;
            for (int c = 0; c < table->columnCount(); ++c) cells.push_back(table->item(r, c)->text().toStdString());
            out.push_back(cells);
        }
        EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        return out;
    };
    EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", ""}, {"11", "DSP", "0200", ""}}));
    click(ctl::CheckComm);
    EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", "0100"}, {"11", "DSP", "0200", "0150"}}));
    for (int id : {ctl::ModelText, ctl::ChecksumText}) {
        const QPalette look = control(id)->palette();
        EXPECT_EQ(look.color(QPalette::Base), look.color(QPalette::Window)) << id;
    }
}

TEST_F(QtSerialUpdateTest, CheckCommButtonReportsOkWithTheToneAndUnlocks) {
    startWithProduct();
    click(ctl::CheckComm);
    expectOneBox("Communication check OK.", QMessageBox::Information);
    expectUnlockedAfterwards();
}

TEST_F(QtSerialUpdateTest, SilentProductGivesTheErrorBoxesAndStillUnlocks) {
    product.silent = true;
    startWithProduct();
    click(ctl::Update);
    ASSERT_FALSE(op->boxes.empty());
    for (const SeenBox& b : op->boxes) {
        EXPECT_EQ(b.icon, QMessageBox::Critical) << b.text;
        EXPECT_FALSE(b.statusWindowOpen) << b.text;
    }
    EXPECT_EQ(tone.played.size(), op->boxes.size());
    expectUnlockedAfterwards();
}

// Close from the title bar arrives while the update pumps messages: it must not end the
// dialog under the running procedure, which still uses its link.
TEST_F(QtSerialUpdateTest, CloseWhileAnUpdateRunsIsRefused) {
    startWithProduct();
    bool closedDuringRun = false;
    op->onStatus = [&](const QtStatusWindow&) {
        if (!std::exchange(closedDuringRun, true)) dialog->close();
    };
    click(ctl::Update);
    EXPECT_TRUE(closedDuringRun);
    EXPECT_FALSE(dialog->ended());
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(op->boxes.size(), 1u);
    EXPECT_EQ(op->boxes[0].text, "Update completed.");
    dialog->close();  // once the update is over, Close works again
    EXPECT_TRUE(dialog->ended());
}

}  // namespace
}  // namespace tarnwick::test
