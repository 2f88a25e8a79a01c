// The main window as the operator sees it on Qt: the controls after start, load, a failed
// load and a cancelled dialog; the hidden controls; the keys; the status window; the boxes.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "pkgbuild/package_builder.h"
#include "history/sqlite_history.h"
#include "support/temp_dir_env.h"
#include "window/qt/ip_address_edit.h"
#include "e2e/serial_update_fixture.h"
#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

using Address = std::array<uint8_t, 4>;

class QtMainWindowTest : public QtWindowTest {
protected:
    std::string writePackage(uint32_t dspAttributes = 1) {
        pkgbuild::PackageDescription pkg;
        pkg.components = {SerialUpdateTest::component(0x01, "MAIN", "0100", "01", 1, 0x200),
                          SerialUpdateTest::component(0x11, "DSP", "0100", "0111", 1, 0x200)};
        pkg.components[1].attributes = dspAttributes;
        const std::string path = scratch.file("package.bin");
        EXPECT_EQ(pkgbuild::writePackage(path, pkg), 1);
        return path;
    }
    void load(const std::string& path) {
        op->fileToChoose = path;
        click(ctl::Load);
    }
    bool checked(int id) const { return as<QAbstractButton>(id)->isChecked(); }
    std::string text(int id) const { return as<QLineEdit>(id)->text().toStdString(); }
};

TEST_F(QtMainWindowTest, StartThenACancelledLoadThenALoadAndACancelledOne) {
    start();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]");
    const std::vector<int> choices{ctl::RadioRs232c, ctl::RadioEthernet, ctl::PortList, ctl::CheckComm};
    const std::vector<int> rest{ctl::IpAddress, ctl::Update, ctl::NormalUpdate, ctl::AllDevice};
    for (const auto* ids : {&choices, &rest}) for (int id : *ids) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(checked(ctl::RadioRs232c) || checked(ctl::RadioEthernet));
    EXPECT_TRUE(enabled(ctl::Quit));
    EXPECT_EQ(as<IpAddressEdit>(ctl::IpAddress)->address(), (Address{192, 168, 0, 1}));
    EXPECT_EQ(dialog->portSelection(), -1);  // no port in the tests

    click(ctl::Load);  // cancelled straight after start: the communication choice, not Update
    EXPECT_EQ(op->fileDialogSeen, "Select the firmware file|Update file(*.bin)|" + std::filesystem::current_path().string());
    EXPECT_TRUE(enabled(ctl::CheckComm) && checked(ctl::RadioRs232c));
    EXPECT_FALSE(enabled(ctl::Update));

    const std::string path = writePackage();
    load(path);
    EXPECT_TRUE(op->boxes.empty());
    EXPECT_EQ(text(ctl::FilePath) + "|" + text(ctl::ModelText) + "|" + text(ctl::PackageIdText), path + "|QT818LX|0101");
    EXPECT_EQ(text(ctl::ChecksumText).size(), 8u);
    EXPECT_TRUE(checked(ctl::NormalUpdate));
    for (int id : rest) EXPECT_EQ(enabled(id), id != ctl::IpAddress) << id;
    for (int id : choices) EXPECT_TRUE(enabled(id)) << id;
    EXPECT_TRUE(control(ctl::Load)->hasFocus() || !dialog->isActiveWindow());
    // The whole path is selected with its end in view.
    EXPECT_EQ(as<QLineEdit>(ctl::FilePath)->selectedText().toStdString(), path);
    EXPECT_EQ(as<QLineEdit>(ctl::FilePath)->cursorPosition(), static_cast<int>(path.size()));

    load("");  // cancelled: the package stays
    EXPECT_EQ(op->fileDialogs, 3);
    EXPECT_EQ(text(ctl::FilePath), path);
    EXPECT_EQ(caption(ctl::targetBox(0)), "01:MAIN");
    EXPECT_TRUE(enabled(ctl::Update));
}

TEST_F(QtMainWindowTest, FailedLoadShowsItsBoxAndLeavesUpdateDisabled) {
    start();
    const std::string bad = scratch.file("broken.bin");
    std::ofstream(bad) << "this is not an update package\r\n";
    load(bad);
    ASSERT_FALSE(op->boxes.empty());  // their icon, caption and tone are those of every error box
    EXPECT_FALSE(enabled(ctl::Update));
    EXPECT_TRUE(enabled(ctl::CheckComm) && enabled(ctl::Load));
}

TEST_F(QtMainWindowTest, HiddenControlsAreNeverShownButKeepTheirValues) {
    start();
    load(writePackage());
    for (int id : std::vector<int>{ctl::RadioIeee1394, ctl::BaudList, ctl::PackageIdText, ctl::TcpPort, ctl::Verify, ctl::Sum, ctl::All,
                   ctl::Select, ctl::Backup, ctl::PassSame, ctl::CheckVersion, ctl::targetBox(0), ctl::targetBox(19)}) {
        ASSERT_NE(control(id), nullptr) << id;
        EXPECT_FALSE(control(id)->isVisibleTo(dialog.get())) << id;
    }
    for (int id : {ctl::FilePath, ctl::ModelText, ctl::ChecksumText, ctl::IpAddress}) EXPECT_TRUE(control(id)->isVisible()) << id;
    ControlFields f;
    dialog->readControls(f);
    EXPECT_EQ(std::tie(f.packageIdText, f.targetChecked[0]), std::make_tuple("0101", 1));
}

// "History..." lists the runs of the serial number typed into its filter; none typed, all.
TEST_F(QtMainWindowTest, HistoryListsTheRunsOfTheSerialNumberInItsFilter) {
    start();
    TempDir dir;
    auto store = openSqliteHistory(dir.file("history.db"), [](const std::string&) {});
    for (const char* serial : {"TW0000001", "TW0000002"}) {
        RunRecord run;
        run.serialNumber = serial;
        ASSERT_GT(store->recordRun(run), 0);
    }
    window->history = store.get();
    std::string seen;  // the serial numbers in the table with no filter, then with the second one
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        auto* serial = box != nullptr ? box->findChild<QLineEdit*>("historySerial") : nullptr;
        auto* table = box != nullptr ? box->findChild<QPlainTextEdit*>("historyTable") : nullptr;
        if (serial == nullptr || table == nullptr) return;
        for (const char* filter : {"", "TW0000002"}) {
            serial->setText(filter);
            for (const char* s : {"TW0000001", "TW0000002"}) seen += table->toPlainText().contains(s) ? s : "-";
            seen += "|";
        }
        box->close();
    });
    dialog->findChild<QAction*>("historyAction")->trigger();
    window->history = nullptr;
    EXPECT_EQ(seen, "TW0000001TW0000002|-TW0000002|");
}

TEST_F(QtMainWindowTest, EnterAndEscLeaveTheWindowOpen) {
    start();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &press);
    }
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible() && !dialog->ended() && op->boxes.empty());
}

TEST_F(QtMainWindowTest, IpAddressTakesNumbersUpTo255AndTypedAddressesAsTyped) {
    start();
    auto* ip = as<IpAddressEdit>(ctl::IpAddress);
    QLineEdit* first = ip->field(0);
    const std::pair<const char*, QValidator::State> values[] = {
        {"256", QValidator::Invalid}, {"255", QValidator::Acceptable}, {"1a", QValidator::Invalid},
        {"-1", QValidator::Invalid},  {"01", QValidator::Invalid}};
    for (const auto& [text, state] : values) {
        QString value = text;
        int pos = 0;
        EXPECT_EQ(first->validator()->validate(value, pos), state) << text;
    }
    // The address reaches the main window's field.
    ip->setAddress({127, 0, 0, 1});
    window->readControls();
    EXPECT_EQ(window->ipAddress, (Address{127, 0, 0, 1}));
    // Typed key by key from the first field, each key to whatever has the keyboard focus.
    ip->setEnabled(true);
    QApplication::setActiveWindow(dialog.get());
    const std::pair<const char*, Address> typed[] = {
        {"192.168.1.10", {192, 168, 1, 10}}, {"192.168.0.5", {192, 168, 0, 5}},
        {"127.11.0.20", {127, 11, 0, 20}},   {"10.1.2.3", {10, 1, 2, 3}},
        {"300", {30, 168, 0, 1}},            // a digit that does not fit is refused
        {"1..2", {1, 2, 0, 1}},              // a second dot does not skip a field
        {"12.3\b\b4", {124, 0, 0, 1}},   // Backspace at a field's start goes back
    };
    for (const auto& [keys, expected] : typed) {
        ip->setAddress({192, 168, 0, 1});
        ip->field(0)->setFocus(Qt::TabFocusReason);
        for (QChar k : QString(keys)) {
            const int code = k == '\b' ? int(Qt::Key_Backspace) : k == '.' ? int(Qt::Key_Period) : Qt::Key_0 + (k.unicode() - '0');
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, k == '\b' ? QString() : QString(k));
            QApplication::sendEvent(QApplication::focusWidget(), &press);
        }
        EXPECT_EQ(ip->address(), expected) << keys;
    }
    // Pasted through the second field's menu (Ctrl+V takes the same path): a whole address
    // fills all four fields, a single number goes into the field.
    const std::pair<const char*, Address> pastes[] = {{" 172.16.254.3 ", {172, 16, 254, 3}}, {"77", {192, 77, 0, 1}}};
    for (const auto& [clip, expected] : pastes) {
        ip->setAddress({192, 168, 0, 1});
        QApplication::clipboard()->setText(clip);
        QLineEdit* second = ip->field(1);
        second->setFocus(Qt::MouseFocusReason);
        second->selectAll();
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(2, 2), second->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(second, &open);
        auto* menu = second->findChild<QMenu*>();
        ASSERT_NE(menu, nullptr);
        const auto actions = menu->actions();
        const auto paste = std::find_if(actions.begin(), actions.end(),
                                        [](QAction* a) { return a->text().startsWith("&Paste"); });
        ASSERT_NE(paste, actions.end());
        (*paste)->trigger();
        delete menu;
        EXPECT_EQ(ip->address(), expected) << clip;
    }
}

TEST_F(QtMainWindowTest, StatusWindowShowsTheLineAndTheBarAndClosesBeforeABox) {
    start();
    window->showStatus(0, "Loading of update file...", 0, 0);
    QtStatusWindow* status = dialog->statusWindow();
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible() && !status->isModal() && !status->progressShown());
    EXPECT_EQ(status->windowTitle().toStdString() + "|" + status->text().toStdString(), "Status|Loading of update file...");
    window->showStatus(0x21, "Updating...", 1, 40);
    EXPECT_EQ(dialog->statusWindow(), status);  // the same window across the steps
    EXPECT_EQ(status->text().toStdString(), "[ID:21] Updating...");
    EXPECT_TRUE(status->progressShown() && status->progress() == 40);
    window->showStatus(0, "Verifying...", 0, 0);
    EXPECT_FALSE(status->progressShown());
    // Over the main window, clear of the component table.
    EXPECT_LE(std::abs(status->geometry().center().x() - dialog->frameGeometry().center().x()), 4);
    const QWidget* table = dialog->findChild<QWidget*>("componentPanel");
    EXPECT_FALSE(status->geometry().intersects(QRect(table->mapToGlobal(QPoint(0, 0)), table->size())));
    EXPECT_TRUE(dialog->frameGeometry().contains(status->geometry()));

    window->showError("Communication error!");
    ASSERT_EQ(op->boxes.size(), 1u);
    EXPECT_FALSE(op->boxes[0].statusWindowOpen);
    EXPECT_EQ(dialog->statusWindow(), nullptr);
}

TEST_F(QtMainWindowTest, EnterOrEscInTheStatusWindowDestroysItAndTheWindowLearnsOfIt) {
    start();
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        window->showStatus(0, "Checking...", 0, 0);
        QtStatusWindow* status = dialog->statusWindow();
        ASSERT_NE(status, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(status, &press);
        EXPECT_TRUE(window->statusWindow == nullptr && !status->isVisible());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialog->statusWindow(), nullptr);
        // The next report opens a new window; closing after that is safe.
        window->showStatus(0, "Checking again...", 1, 10);
        ASSERT_NE(dialog->statusWindow(), nullptr);
        window->closeStatusWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(dialog->statusWindow(), nullptr);
    }
}

}  // namespace
}  // namespace tarnwick::test
