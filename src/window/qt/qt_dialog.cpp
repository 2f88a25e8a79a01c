#include "window/qt/qt_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QThread>

#include "window/control_ids.h"
#include "window/main_window.h"
#include "window/qt/about_box.h"
#include "window/qt/history_box.h"
#include "window/qt/ip_address_edit.h"
#include "window/qt/qt_status_window.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

int checkedValue(const QButtonGroup* group) { return group->checkedId(); }

// -1 (or any value without a button) leaves every radio of the group unchecked.
void setCheckedValue(QButtonGroup* group, int value) {
    if (QAbstractButton* b = group->button(value)) {
        b->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
    }
}

// "COM3" lists as "COM3  /dev/ttyUSB0": the name the procedures use and the device behind it.
QString portEntryText(const std::string& name) {
    int number = 0;
    if (name.size() > 3 && name.compare(0, 3, "COM") == 0) number = std::atoi(name.c_str() + 3);
    const std::string path = number > 0 ? serialDevicePath(number - 1) : std::string();
    return path.empty() ? qs(name) : qs(name + "  " + path);
}

}  // namespace

QtDialog::QtDialog(QWidget* parent) : QDialog(parent) { buildWindow(); }

QtDialog::~QtDialog() {
    restoreCursor();
    delete status_.data();
}

void QtDialog::bind(MainWindow& window) {
    window_ = &window;
    auto connectButton = [this](int id, void (MainWindow::*handler)()) {
        auto* button = static_cast<QAbstractButton*>(control(id));
        connect(button, &QAbstractButton::clicked, this, [this, handler] { run(handler); });
    };
    connectButton(ctl::Load, &MainWindow::onLoad);
    connectButton(ctl::CheckComm, &MainWindow::onCheckComm);
    connectButton(ctl::Update, &MainWindow::onUpdate);
    connectButton(ctl::Quit, &MainWindow::onQuit);
    for (int id : {ctl::RadioRs232c, ctl::RadioEthernet, ctl::RadioIeee1394}) {
        connectButton(id, &MainWindow::onCommTypeChanged);
    }
    for (int id : {ctl::All, ctl::Select, ctl::NormalUpdate, ctl::AllDevice}) {
        connectButton(id, &MainWindow::onModeClicked);
    }
    // "Check Version" composes the listing and shows nothing, as the button always did.
    connect(static_cast<QAbstractButton*>(control(ctl::CheckVersion)), &QAbstractButton::clicked, this,
            [this] { (void)window_->versionListing(); });
}

void QtDialog::run(void (MainWindow::*handler)()) {
    if (window_ == nullptr || busy_) return;
    busy_ = true;
    (window_->*handler)();
    busy_ = false;
    restoreCursor();
    dropQueuedInput();
}

// Clicks and keys that waited in the queue while a handler ran were meant for controls
// that were disabled at the time; they must not reach them now that they are enabled.
void QtDialog::dropQueuedInput() {
    if (ended_) return;
    droppingInput_ = true;
    qApp->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    qApp->removeEventFilter(this);
    droppingInput_ = false;
}

bool QtDialog::eventFilter(QObject* watched, QEvent* event) {
    if (droppingInput_ && isUserInput(event->type())) return true;
    return QDialog::eventFilter(watched, event);
}

QWidget* QtDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void QtDialog::readControls(ControlFields& f) {
    f.commType = checkedValue(commGroup_);
    f.checkMode = checkedValue(checkGroup_);
    f.operationMode = checkedValue(operationGroup_);
    f.updateMode = checkedValue(updateGroup_);
    f.checksumText = static_cast<QLineEdit*>(control(ctl::ChecksumText))->text().toStdString();
    f.modelText = static_cast<QLineEdit*>(control(ctl::ModelText))->text().toStdString();
    f.packageIdText = static_cast<QLineEdit*>(control(ctl::PackageIdText))->text().toStdString();
    f.updateFilePath = static_cast<QLineEdit*>(control(ctl::FilePath))->text().toStdString();
    f.tcpPortText = static_cast<QLineEdit*>(control(ctl::TcpPort))->text().toStdString();
    f.backupSetting = static_cast<QCheckBox*>(control(ctl::Backup))->isChecked() ? 1 : 0;
    f.passSameVersion = static_cast<QCheckBox*>(control(ctl::PassSame))->isChecked() ? 1 : 0;
    for (int p = 0; p < 20; ++p) {
        f.targetChecked[static_cast<size_t>(p)] =
            static_cast<QCheckBox*>(control(ctl::targetBox(p)))->isChecked() ? 1 : 0;
    }
    f.ipAddress = static_cast<IpAddressEdit*>(control(ctl::IpAddress))->address();
}

void QtDialog::writeControls(const ControlFields& f) {
    setCheckedValue(commGroup_, f.commType);
    setCheckedValue(checkGroup_, f.checkMode);
    setCheckedValue(operationGroup_, f.operationMode);
    setCheckedValue(updateGroup_, f.updateMode);
    auto setText = [this](int id, const std::string& text) {
        auto* edit = static_cast<QLineEdit*>(control(id));
        if (edit->text() != qs(text)) edit->setText(qs(text));
    };
    setText(ctl::ChecksumText, f.checksumText);
    setText(ctl::ModelText, f.modelText);
    setText(ctl::PackageIdText, f.packageIdText);
    setText(ctl::FilePath, f.updateFilePath);
    setText(ctl::TcpPort, f.tcpPortText);
    static_cast<QCheckBox*>(control(ctl::Backup))->setChecked(f.backupSetting != 0);
    static_cast<QCheckBox*>(control(ctl::PassSame))->setChecked(f.passSameVersion != 0);
    for (int p = 0; p < 20; ++p) {
        static_cast<QCheckBox*>(control(ctl::targetBox(p)))->setChecked(f.targetChecked[static_cast<size_t>(p)] != 0);
    }
    static_cast<IpAddressEdit*>(control(ctl::IpAddress))->setAddress(f.ipAddress);
}

void QtDialog::enableControl(int id, bool enabled) {
    if (QWidget* w = control(id)) w->setEnabled(enabled);
}

void QtDialog::setControlCaption(int id, const std::string& caption) {
    QWidget* w = control(id);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(qs(caption));
    else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(qs(caption));
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(qs(caption));
}

void QtDialog::setWindowCaption(const std::string& caption) { setWindowTitle(qs(caption)); }

void QtDialog::showComponents(const std::vector<ComponentRow>& rows) {
    components_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ComponentRow& row = rows[static_cast<size_t>(r)];
        const std::string cells[] = {row.id, row.name, row.packageVersion, row.productVersion, row.state};
        for (int c = 0; c < 5; ++c) components_->setItem(r, c, new QTableWidgetItem(qs(cells[c])));
    }
}

void QtDialog::showNextSteps(const std::string& text) {
    nextSteps_->setText(qs(text));
    nextSteps_->setVisible(!text.empty());
}

void QtDialog::setPortList(const std::vector<std::string>& entries) {
    auto* list = static_cast<QComboBox*>(control(ctl::PortList));
    list->clear();
    for (const std::string& name : entries) list->addItem(portEntryText(name), qs(name));
    list->setCurrentIndex(-1);
}

int QtDialog::portSelection() { return static_cast<QComboBox*>(control(ctl::PortList))->currentIndex(); }

void QtDialog::setPortSelection(int index) {
    auto* list = static_cast<QComboBox*>(control(ctl::PortList));
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void QtDialog::setBaudList(const std::vector<std::string>& entries) {
    auto* list = static_cast<QComboBox*>(control(ctl::BaudList));
    list->clear();
    for (const std::string& e : entries) list->addItem(qs(e));
}

int QtDialog::baudSelection() { return static_cast<QComboBox*>(control(ctl::BaudList))->currentIndex(); }

void QtDialog::setBaudSelection(int index) {
    auto* list = static_cast<QComboBox*>(control(ctl::BaudList));
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

void QtDialog::selectPathText() {
    auto* edit = static_cast<QLineEdit*>(control(ctl::FilePath));
    edit->setCursorPosition(0);
    edit->selectAll();  // leaves the cursor, and so the visible part, at the end
}

void QtDialog::focusControl(int id) {
    if (QWidget* w = control(id)) w->setFocus(Qt::OtherFocusReason);
}

int QtDialog::messageBox(BoxKind kind, const std::string& text, const std::string& caption) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (kind) {
        case BoxKind::Info: icon = QMessageBox::Information; break;
        case BoxKind::Error: icon = QMessageBox::Critical; break;
        case BoxKind::Question:
            icon = QMessageBox::Warning;
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
        case BoxKind::Plain: break;
    }
    QMessageBox box(icon, qs(caption), qs(text), buttons, isVisible() ? this : nullptr);
    if (kind == BoxKind::Question) box.setEscapeButton(QMessageBox::No);
    const bool hadWaitCursor = waitCursor_;
    restoreCursor();
    const int answer = box.exec();
    if (hadWaitCursor) setWaitCursor(true);
    if (kind != BoxKind::Question) return kAnswerOk;
    return answer == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

bool QtDialog::chooseOpenFile(const OpenFileRequest& request, std::string& chosenPath) {
    const std::string filter = request.filterText.find(request.pattern) != std::string::npos
                                   ? request.filterText
                                   : request.filterText + " (" + request.pattern + ")";
    QFileDialog dialog(this, qs(request.title), qs(request.initialDir), qs(filter));
    dialog.setObjectName("openFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    chosenPath = dialog.selectedFiles().front().toStdString();
    return true;
}

StatusWindow* QtDialog::createStatusWindow(std::function<void()> onDestroyed) {
    delete status_.data();
    const QRect table(components_->mapToGlobal(QPoint(0, 0)), components_->size());
    status_ = new QtStatusWindow(this, std::move(onDestroyed), table);
    status_->show();
    return status_.data();
}

void QtDialog::setWaitCursor(bool on) {
    if (on == waitCursor_) return;
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
    waitCursor_ = on;
}

void QtDialog::restoreCursor() { setWaitCursor(false); }

void QtDialog::pumpMessages() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void QtDialog::endDialog() {
    ended_ = true;
    restoreCursor();
    delete status_.data();
    hide();
    // Before the event loop runs (a station run that ends while the window starts) there
    // is nothing to leave, and an exit request then would end the next loop at once.
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

void QtDialog::showHistory() {
    if (window_ == nullptr || busy_) return;
    HistoryBox box(*window_, this);
    box.exec();
}

void QtDialog::showAbout() {
    AboutBox about(this);
    about.exec();
}

// Enter and Esc do nothing here: the window ends only through "Quit" or Close.
void QtDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

// Close from the title bar runs the close handler, which ends the dialog itself. A close
// request that arrives while a procedure runs is refused: the procedure still uses the links.
void QtDialog::closeEvent(QCloseEvent* event) {
    if (ended_) return;  // already ending: let it go
    event->ignore();
    if (busy_ || window_ == nullptr) return;
    run(&MainWindow::onClose);
}

}  // namespace tarnwick
