// "Check Comm." and "Update" pressed in the window against the simulated product on a
// pseudo-terminal: the status window and its bar move, the boxes come with the tone, and
// the controls are locked while the procedure runs and unlocked at its end.
#include <QComboBox>
#include <QTableWidget>
#include <algorithm>
#include <map>
#include <optional>

#include "pkgbuild/package_builder.h"
#include "e2e/serial_update_fixture.h"
#include "window/qt/qt_window_fixture.h"
#include "sim_server.h"

namespace tarnwick::test {
namespace {

class QtSerialUpdateTest : public QtWindowTest {
protected:
    sim::SimConfig product;
    pkgbuild::PackageDescription pkg;
    std::unique_ptr<sim::SimServer> sim;
    std::optional<ScopedEnv> ports;
    struct StatusView {
        std::string text, position;
        int bar;  // -1: no bar
    };
    std::vector<StatusView> statusSeen;
    bool closeDuringRun = false;  // Close from the title bar at the first status
    std::map<int, bool> enabledWhileBusy;  // whether a control was enabled whenever the status window was seen

    void SetUp() override {
        product.modelCode = 0x0002;
        pkg.packageId = "0101";
        pkg.components = {SerialUpdateTest::component(0x01, "MAIN", "0200", "01", 1, 0x800),
                          SerialUpdateTest::component(0x11, "DSP", "0200", "0111", 1, 0x800)};
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
        tone.played.clear();
        for (int id : {ctl::Load, ctl::Update, ctl::CheckComm, ctl::Quit, ctl::RadioRs232c}) enabledWhileBusy[id] = false;
        op->onStatus = [this](const QtStatusWindow& s) {
            if (statusSeen.empty() && closeDuringRun) dialog->close();
            statusSeen.push_back({s.text().toStdString(), s.position().toStdString(), s.progressShown() ? s.progress() : -1});
            for (auto& [id, everEnabled] : enabledWhileBusy) everEnabled = everEnabled || enabled(id);
        };
    }

    // Boxes of this icon, each with the tone and after the status window was gone, the last with this text.
    void expectBoxes(const char* last, QMessageBox::Icon icon) {
        ASSERT_FALSE(op->boxes.empty());
        EXPECT_EQ(op->boxes.back().text, last);
        for (const SeenBox& b : op->boxes) {
            EXPECT_EQ(std::tie(b.icon, b.caption, b.statusWindowOpen), std::make_tuple(icon, "Ostrel Firmware Writer", false));
        }
        EXPECT_EQ(tone.played, (std::vector<std::pair<uint32_t, uint32_t>>(op->boxes.size(), {442, 100})));
    }

    void expectUnlockedAfterwards() {
        for (auto& [id, everEnabled] : enabledWhileBusy) {
            EXPECT_FALSE(everEnabled) << id << " was enabled while the procedure ran";
            EXPECT_TRUE(enabled(id)) << id << " is not enabled again";
        }
        EXPECT_TRUE(dialog->statusWindow() == nullptr && window->statusWindow == nullptr);
        EXPECT_TRUE(window->activeLink == nullptr && !dialog->busy());
    }
};

// The product's memory and the status texts are asserted end to end without Qt; here the
// window shows them. Close from the title bar arrives while the update pumps messages: it
// must not end the dialog under the running procedure, which still uses its link.
TEST_F(QtSerialUpdateTest, UpdateButtonMovesTheBarRefusesCloseAndEndsWithTheBox) {
    closeDuringRun = true;
    startWithProduct();
    click(ctl::Update);
    expectBoxes("Update completed.", QMessageBox::Information);
    EXPECT_EQ(op->boxes.size(), 1u);
    EXPECT_TRUE(dialog->isVisible() && !dialog->ended());
    ASSERT_FALSE(statusSeen.empty());
    EXPECT_EQ(statusSeen.front().text, "Updating start...");
    std::vector<int> bar;
    for (const auto& s : statusSeen) {
        if (s.bar >= 0) bar.push_back(s.bar);
    }
    ASSERT_GE(bar.size(), 2u);
    EXPECT_LT(*std::min_element(bar.begin(), bar.end()), *std::max_element(bar.begin(), bar.end()));
    // Beside the counter, the overall position and the time taken so far (MAIN's settling
    // waits are behind by DSP's turn).
    const auto dsp = std::find_if(statusSeen.begin(), statusSeen.end(),
                                  [](const auto& s) { return s.text.rfind("02/02 [11:DSP]", 0) == 0; });
    ASSERT_NE(dsp, statusSeen.end());
    EXPECT_EQ(dsp->position.rfind("component 2 of 2   elapsed ", 0), 0u) << dsp->position;
    EXPECT_NE(dsp->position, "component 2 of 2   elapsed 0:00");
    expectUnlockedAfterwards();
    dialog->close();  // once the update is over, Close works again
    EXPECT_TRUE(dialog->ended());
}

// The texts are asserted end to end without Qt; here the box, its icon and the unlocking,
// and the component list: the package after Load, the product's versions beside it after
// a check, nothing of it editable.
TEST_F(QtSerialUpdateTest, CheckCommAndAFailedUpdateUnlockTheWindowAndTheListShowsTheProduct) {
    product.slotVersions[2] = "0150";  // DSP's slot
    const auto rows = [this] {
        const auto* table = dialog->findChild<QTableWidget*>("componentPanel");
        EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        std::vector<Strings> out(static_cast<size_t>(table->rowCount()));
        for (int r = 0; r < table->rowCount(); ++r) {
            for (int c = 0; c < table->columnCount(); ++c) out[size_t(r)].push_back(table->item(r, c)->text().toStdString());
        }
        return out;
    };
    const struct { bool silent; int button; const char* text; QMessageBox::Icon icon; } cases[] = {
        {false, ctl::CheckComm, "Communication check OK.", QMessageBox::Information},
        {true, ctl::Update, "Communication error!", QMessageBox::Critical}};
    for (const auto& c : cases) {
        product.silent = c.silent;
        startWithProduct();
        if (!c.silent) { EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", ""}, {"11", "DSP", "0200", ""}})); }
        click(c.button);
        expectBoxes(c.text, c.icon);
        expectUnlockedAfterwards();
        if (!c.silent) { EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", "0100"}, {"11", "DSP", "0200", "0150"}})); }
        sim->stop();
    }
}

}  // namespace
}  // namespace tarnwick::test
