// "Check Comm." and "Update" pressed in the window against the simulated product on a
// pseudo-terminal: the status window and its bar move, the boxes come with the tone, and
// the controls are locked while the procedure runs and unlocked at its end.
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <optional>
#include <tuple>
#include <utility>

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
    // (pkg, or the one at packagePath) loaded through the Load button and RS-232C chosen.
    void startWithProduct(std::string path = "") {
        sim = std::make_unique<sim::SimServer>(product);
        ASSERT_TRUE(sim->startPty()) << sim->error();
        ports.emplace("TARNWICK_SERIAL_PORTS", sim->slavePath());
        if (path.empty()) {
            path = scratch.file("package.bin");
            ASSERT_EQ(pkgbuild::writePackage(path, pkg), 1);
        }
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
        for (auto& [id, everEnabled] : op->enabledWhileBusy) {
            EXPECT_FALSE(everEnabled) << id << " was enabled while the procedure ran";
            EXPECT_TRUE(enabled(id)) << id << " is not enabled again";
        }
        // No status window, link or busy state left behind.
        EXPECT_TRUE(!dialog->statusWindow() && !window->statusWindow && !window->activeLink && !dialog->busy());
    }
};

// The component list: the package after Load, the product's versions beside it after a
// check, nothing of it editable.
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
    EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", "", "selected"}, {"11", "DSP", "0200", "", "selected"}}));
    click(ctl::CheckComm);
    expectBoxes("Communication check OK.", QMessageBox::Information);
    expectUnlockedAfterwards();
    EXPECT_EQ(rows(), (std::vector<Strings>{{"01", "MAIN", "0200", "0100", "update"}, {"11", "DSP", "0200", "0150", "update"}}));
}

// The sample package over RS-232C: the position counts only what this link writes, and the
// table says per component what happened, already while the result box is up.
TEST_F(QtSerialUpdateTest, SamplePackageUpdateShowsEachComponentsOutcome) {
    product.slotVersions[2] = "0203";  // DSP's slot holds the package's version: passed
    product.infoKinds[0x01] = sim::InfoKind::Crc32Words;  // MAIN's check as the sample asks it
    startWithProduct(TARNWICK_SAMPLE);
    const auto* table = dialog->findChild<QTableWidget*>("componentPanel");
    auto states = [table] {
        Strings out;
        for (int r = 0; r < table->rowCount(); ++r) out.push_back(table->item(r, 4)->text().toStdString());
        return out;
    };
    const Strings afterLoad{"selected", "selected", "selected", "selected", "selected", "not over this link", "not over this link"};
    EXPECT_EQ(states(), afterLoad);
    Strings whileBoxUp;  // the table as the operator sees it behind the result box
    std::string lastPosition;
    op->onStatus = [&](const QtStatusWindow& s) { lastPosition = s.position().toStdString(); };
    op->onBox = [&] { whileBoxUp = states(); };
    click(ctl::Update);
    ASSERT_EQ(op->boxes.size(), 1u) << op->boxes[0].text;
    EXPECT_EQ(op->boxes[0].text, "Update completed.");
    EXPECT_EQ(lastPosition.rfind("component 5 of 5   elapsed ", 0), 0u) << lastPosition;
    const Strings outcome{"updated", "updated", "passed", "updated", "updated", "not over this link", "not over this link"};
    EXPECT_EQ(states(), outcome);
    EXPECT_EQ(whileBoxUp, outcome);
}

// While a question is up, the window says what it is about: the downgrade names the
// component and both versions, the recovery that Yes rewrites everything selected.
TEST_F(QtSerialUpdateTest, QuestionsSayWhatTheyAreAbout) {
    const std::pair<bool, const char*> cases[] = {
        {false, "The question is about 01:MAIN (downgrade): package 0200, product 0300."},
        {true, "The product is in its update mode: its last update was broken off. Yes writes every selected "
               "component (\"ALL device update.\"); No leaves the product as it is."},
    };
    for (const auto& [inUpdateMode, expected] : cases) {
        product.slotVersions[0] = "0300";  // MAIN's slot: newer than the package's 0200
        product.startInUpdateMode = inUpdateMode;
        startWithProduct();
        const auto* steps = dialog->findChild<QLabel*>("nextSteps");
        std::vector<std::string> beside;
        op->onBox = [&] { beside.push_back(steps->isVisibleTo(dialog.get()) ? steps->text().toStdString() : ""); };
        click(ctl::Update);  // answered No: one question, and the line beside it
        EXPECT_EQ(beside, Strings{expected});
        EXPECT_FALSE(steps->isVisibleTo(dialog.get()));  // gone with the box
        QtWindowTest::TearDown();
        sim->stop();
    }
}

// After an update the product column keeps the versions read before the run, with the
// package's beside those written, also once the box is gone; the next check reads anew.
TEST_F(QtSerialUpdateTest, ProductColumnShowsWhatTheUpdateReplaced) {
    product.slotVersions[2] = "0200";  // DSP's slot holds the package's version: passed
    startWithProduct();
    const auto* table = dialog->findChild<QTableWidget*>("componentPanel");
    auto productColumn = [table] {
        Strings out;
        for (int r = 0; r < table->rowCount(); ++r) out.push_back(table->item(r, 3)->text().toStdString());
        return out;
    };
    Strings whileBoxUp;
    op->onBox = [&] { whileBoxUp = productColumn(); };
    click(ctl::Update);
    EXPECT_EQ(whileBoxUp, (Strings{"0100 -> 0200", "0200"}));
    EXPECT_EQ(productColumn(), (Strings{"0100 -> 0200", "0200"}));
    click(ctl::CheckComm);
    EXPECT_EQ(productColumn(), (Strings{"0200", "0200"}));
}

// The texts are asserted end to end without Qt; here the box, its icon and the unlocking.
TEST_F(QtSerialUpdateTest, AFailedUpdateUnlocksTheWindow) {
    product.silent = true;
    startWithProduct();
    click(ctl::Update);
    expectBoxes("Communication error!", QMessageBox::Critical);
    expectUnlockedAfterwards();
    const auto* table = dialog->findChild<QTableWidget*>("componentPanel");
    for (int r = 0; r < table->rowCount(); ++r) EXPECT_EQ(table->item(r, 4)->text().toStdString(), "not attempted") << r;
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
    expectBoxes("Update completed.", QMessageBox::Information);
    EXPECT_EQ(op->boxes.size(), 1u);
    expectUnlockedAfterwards();
    dialog->close();  // once the update is over, Close works again
    EXPECT_TRUE(dialog->ended());
}

}  // namespace
}  // namespace tarnwick::test
