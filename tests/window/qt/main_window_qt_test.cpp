// The main window as the operator sees it on Qt: the controls after start, a cancelled
// dialog, a load and a failed load; the hidden controls; the keys; the status window; the boxes.
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <filesystem>
#include <fstream>

#include "pkgbuild/package_builder.h"
#include "window/qt/ip_address_edit.h"
#include "window/qt/qt_window_fixture.h"

namespace tarnwick::test {
namespace {

using Address = std::array<uint8_t, 4>;

class QtMainWindowTest : public QtWindowTest {
protected:
    std::string writePackage(uint32_t dspAttributes = kAttrRs232c) {
        pkgbuild::PackageDescription pkg;
        pkg.components = {pkgbuild::patternComponent(0x01, "MAIN", "0100", "01", 1, 0x200),
                          pkgbuild::patternComponent(0x11, "DSP", "0100", "0111", 1, 0x200)};
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
    void press(QWidget* to, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(to, &event);
    }
};

TEST_F(QtMainWindowTest, StartThenACancelledLoadALoadACancelledOneAndAFailedOne) {
    start();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]");
    const std::vector<int> choices{ctl::RadioRs232c, ctl::RadioEthernet, ctl::PortList, ctl::CheckComm};
    const std::vector<int> rest{ctl::IpAddress, ctl::Update, ctl::NormalUpdate, ctl::AllDevice};
    for (int id : choices) EXPECT_FALSE(enabled(id)) << id;
    for (int id : rest) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(checked(ctl::RadioRs232c) || checked(ctl::RadioEthernet));

    click(ctl::Load);  // cancelled straight after start: the communication choice, not Update
    EXPECT_EQ(op->fileDialogSeen, "Select the firmware file|Update file(*.bin)|" + std::filesystem::current_path().string());
    EXPECT_TRUE(enabled(ctl::CheckComm) && checked(ctl::RadioRs232c));
    EXPECT_FALSE(enabled(ctl::Update));

    const std::string path = writePackage();
    load(path);
    EXPECT_TRUE(op->boxes.empty());
    EXPECT_EQ(text(ctl::FilePath) + "|" + text(ctl::ModelText) + "|" + text(ctl::PackageIdText), path + "|QT818LX|0101");
    EXPECT_TRUE(checked(ctl::NormalUpdate));
    for (int id : rest) EXPECT_EQ(enabled(id), id != ctl::IpAddress) << id;
    for (int id : choices) EXPECT_TRUE(enabled(id)) << id;
    // The whole path is selected with its end in view.
    EXPECT_EQ(as<QLineEdit>(ctl::FilePath)->cursorPosition(), static_cast<int>(path.size()));

    load("");  // cancelled: the package stays
    EXPECT_EQ(text(ctl::FilePath), path);
    EXPECT_EQ(caption(ctl::targetBox(0)), "01:MAIN");
    EXPECT_TRUE(enabled(ctl::Update));

    const std::string bad = scratch.file("broken.bin");
    std::ofstream(bad) << "this is not an update package\r\n";
    load(bad);
    ASSERT_FALSE(op->boxes.empty());
    EXPECT_FALSE(enabled(ctl::Update));
    EXPECT_TRUE(enabled(ctl::CheckComm) && enabled(ctl::Load));
}

TEST_F(QtMainWindowTest, TargetBoxesCarryTheComponentsAndFollowTheCommunicationType) {
    start();
    load(writePackage(kAttrEthernetFrames));
    // The first refresh ran with no communication type: every component is checked.
    EXPECT_EQ(caption(ctl::targetBox(1)) + "|" + caption(ctl::targetBox(2)), "11:DSP|");
    // Choosing RS-232C again applies its filter: DSP may only be written over Ethernet.
    click(ctl::RadioRs232c);
    EXPECT_EQ(caption(ctl::targetBox(1)), "--:-----");
    EXPECT_TRUE(!checked(ctl::targetBox(1)) && checked(ctl::targetBox(0)));
    click(ctl::RadioEthernet);
    EXPECT_EQ(caption(ctl::targetBox(1)), "11:DSP");
    EXPECT_TRUE(checked(ctl::targetBox(1)) && enabled(ctl::IpAddress) && !enabled(ctl::PortList));
}

TEST_F(QtMainWindowTest, QuestionBoxAnswersYesOrNo) {
    start();
    op->yesAnswers = {true, false};
    EXPECT_EQ(window->askYesNo("Go on?"), kAnswerYes);
    EXPECT_EQ(window->askYesNo("Go on?"), kAnswerNo);
    ASSERT_EQ(op->boxes.size(), 2u);
    EXPECT_TRUE(op->boxes[0].yesNo && op->boxes[0].caption == "Ostrel Firmware Writer");
    EXPECT_EQ(op->boxes[0].icon, QMessageBox::Warning);
}

// The controls the operator never sees still carry the values the procedures read.
TEST_F(QtMainWindowTest, HiddenControlsKeepTheirValues) {
    start();
    load(writePackage());
    ControlFields f;
    dialog->readControls(f);
    EXPECT_EQ(std::tie(f.checkMode, f.packageIdText, f.tcpPortText, f.targetChecked[0]), std::make_tuple(1, "0101", "5000", 1));
    f.backupSetting = f.passSameVersion = 1;
    f.checkMode = 0;
    dialog->writeControls(f);
    ControlFields back;
    dialog->readControls(back);
    EXPECT_EQ(std::tie(back.backupSetting, back.passSameVersion, back.checkMode), std::make_tuple(1, 1, 0));
    EXPECT_FALSE(control(ctl::Verify)->isVisibleTo(dialog.get()));
}

TEST_F(QtMainWindowTest, EnterAndEscLeaveTheWindowOpen) {
    start();
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) press(dialog.get(), key);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible() && !dialog->ended() && op->boxes.empty());
}

TEST_F(QtMainWindowTest, IpAddressTakesFourNumbersUpTo255AndNothingElse) {
    start();
    auto* ip = as<IpAddressEdit>(ctl::IpAddress);
    QLineEdit* first = ip->field(0);
    for (const char* text : {"1a", "-1", "01"}) {
        QString value = text;
        int pos = 0;
        EXPECT_EQ(first->validator()->validate(value, pos), QValidator::Invalid) << text;
    }
    // Typed keys that do not fit are refused (300 stays 30); an empty field reads as 0.
    ip->setEnabled(true);
    first->clear();
    for (char k : {'3', '0', '0'}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (k - '0'), Qt::NoModifier, QString(QChar(k)));
        QApplication::sendEvent(first, &key);
    }
    ip->field(3)->clear();
    EXPECT_EQ(ip->address(), (Address{30, 168, 0, 0}));
    ip->setAddress({127, 0, 0, 1});  // the address reaches the main window's field
    window->readControls();
    EXPECT_EQ(window->ipAddress, (Address{127, 0, 0, 1}));
}

// (That it moves its bar and is gone before each box is asserted on the update runs.)
TEST_F(QtMainWindowTest, StatusWindowShowsTheTargetAndTheBarCentredAndNotModal) {
    start();
    window->showStatus(0, "Loading of update file...", 0, 0);
    QtStatusWindow* status = dialog->statusWindow();
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isVisible() && !status->isModal() && !status->progressShown());
    window->showStatus(0x21, "Updating...", 1, 40);
    EXPECT_EQ(dialog->statusWindow(), status);  // the same window across the steps
    EXPECT_EQ(status->text().toStdString(), "[ID:21] Updating...");
    EXPECT_TRUE(status->progressShown() && status->progress() == 40);
    const QPoint offset = status->geometry().center() - status->screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4);
}

TEST_F(QtMainWindowTest, EnterOrEscInTheStatusWindowDestroysItAndTheWindowLearnsOfIt) {
    start();
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
        window->showStatus(0, "Checking...", 0, 0);
        QtStatusWindow* status = dialog->statusWindow();
        ASSERT_NE(status, nullptr);
        press(status, key);
        EXPECT_EQ(window->statusWindow, nullptr);
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
