// The controls of the main window and where they sit. Layouts place everything, so no
// control overlaps another at any size the window allows.
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "window/control_ids.h"
#include "window/qt/ip_address_edit.h"
#include "window/qt/qt_dialog.h"
#include "window/qt/qt_style.h"

namespace tarnwick {

namespace {

QPushButton* makeButton(const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);  // Enter presses nothing in this window
    b->setDefault(false);
    return b;
}

QLabel* makeLabel(const char* caption, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

QAbstractButton* QtDialog::addRadio(int id, const char* caption, QButtonGroup* group, int value, QWidget* parent) {
    auto* r = new QRadioButton(caption, parent);
    group->addButton(r, value);
    controls_[id] = r;
    return r;
}

// A read-only field is drawn on the window's own background, so that it does not look
// like a field to type into, and Tab passes it by (a click still selects its text to copy).
QLineEdit* QtDialog::addEdit(int id, bool readOnly, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(readOnly);
    if (readOnly) {
        e->setFocusPolicy(Qt::ClickFocus);
        QPalette look = e->palette();
        look.setColor(QPalette::Base, look.color(QPalette::Window));
        e->setPalette(look);
    }
    controls_[id] = e;
    return e;
}

void QtDialog::buildWindow() {
    setObjectName("mainWindow");
    setFont(windowFont());
    setWindowIcon(appIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    commGroup_ = new QButtonGroup(this);
    checkGroup_ = new QButtonGroup(this);
    operationGroup_ = new QButtonGroup(this);
    updateGroup_ = new QButtonGroup(this);

    auto* menuBar = new QMenuBar(this);
    QMenu* records = menuBar->addMenu("&Records");
    QAction* history = records->addAction("&History...");
    history->setObjectName("historyAction");
    connect(history, &QAction::triggered, this, &QtDialog::showHistory);
    QMenu* help = menuBar->addMenu("&Help");
    QAction* about = help->addAction("&About Tarnwick...");
    about->setObjectName("aboutAction");
    connect(about, &QAction::triggered, this, &QtDialog::showAbout);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(buildUpdateGroup(), 1);
    bottom->addWidget(buildActionGroup(), 1);

    auto* quitRow = new QHBoxLayout;
    quitRow->addStretch(1);
    auto* quit = makeButton("Quit", this);
    controls_[ctl::Quit] = quit;
    quitRow->addWidget(quit);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(buildFileGroup());
    layout->addWidget(buildComponentGroup(), 1);
    layout->addWidget(buildOperationGroup());
    layout->addLayout(bottom);
    layout->addStretch(1);
    layout->addLayout(quitRow);

    buildHiddenControls();
    // Opens with room for a typical package's rows where the screen has it (a caption bar
    // and a panel are left free); the smallest size keeps a laptop at larger text in reach.
    constexpr int kMoreRowsShown = 4;
    constexpr int kCaptionAndPanel = 80;
    QSize preferred = sizeHint().expandedTo(QSize(640, 0));
    preferred.rheight() += kMoreRowsShown * components_->verticalHeader()->defaultSectionSize();
    if (const QScreen* s = screen()) preferred = preferred.boundedTo(s->availableGeometry().size() - QSize(0, kCaptionAndPanel));
    resize(preferred);
}

QWidget* QtDialog::buildFileGroup() {
    auto* group = new QGroupBox(" Firmware File ", this);
    auto* path = addEdit(ctl::FilePath, true, group);
    path->setMinimumWidth(path->fontMetrics().horizontalAdvance(QString(32, 'M')));
    auto* load = makeButton("Load", group);
    controls_[ctl::Load] = load;
    auto* model = addEdit(ctl::ModelText, true, group);
    auto* checksum = addEdit(ctl::ChecksumText, true, group);
    const int fieldWidth = checksum->fontMetrics().horizontalAdvance(QString(12, 'M'));
    model->setMinimumWidth(fieldWidth);
    checksum->setMinimumWidth(fieldWidth);

    auto* grid = new QGridLayout(group);
    grid->addWidget(path, 0, 0, 1, 4);
    grid->addWidget(load, 0, 4);
    grid->addWidget(makeLabel("Model:", model, group), 1, 0);
    grid->addWidget(model, 1, 1);
    grid->addWidget(makeLabel("Checksum:", checksum, group), 1, 2);
    grid->addWidget(checksum, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return group;
}

// The package's components as they will be written, with the product's versions after a
// check; nothing in it can be edited.
QWidget* QtDialog::buildComponentGroup() {
    auto* group = new QGroupBox(" Components ", this);
    components_ = new QTableWidget(0, 5, group);
    components_->setObjectName("componentPanel");
    components_->setHorizontalHeaderLabels({"ID", "Name", "Package", "Product", "State"});
    components_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    components_->setSelectionMode(QAbstractItemView::NoSelection);
    components_->setFocusPolicy(Qt::NoFocus);
    components_->verticalHeader()->hide();
    components_->horizontalHeader()->setStretchLastSection(true);
    components_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const int rows = 3;  // small enough for a laptop at larger text; the table scrolls
    components_->setMinimumHeight(components_->horizontalHeader()->sizeHint().height() +
                                  rows * components_->verticalHeader()->defaultSectionSize() +
                                  2 * components_->frameWidth());
    nextSteps_ = new QLabel(group);
    nextSteps_->setObjectName("nextSteps");
    nextSteps_->setWordWrap(true);
    nextSteps_->setStyleSheet("font-weight: bold");
    nextSteps_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    nextSteps_->hide();
    auto* column = new QVBoxLayout(group);
    column->addWidget(components_);
    column->addWidget(nextSteps_);
    return group;
}

QWidget* QtDialog::buildOperationGroup() {
    auto* group = new QGroupBox(" Operation mode ", this);
    auto* rs232c = addRadio(ctl::RadioRs232c, "RS-232C", commGroup_, 0, group);
    auto* ethernet = addRadio(ctl::RadioEthernet, "Ethernet", commGroup_, 1, group);
    auto* ports = new QComboBox(group);
    ports->setMinimumContentsLength(24);
    ports->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    controls_[ctl::PortList] = ports;
    auto* ip = new IpAddressEdit(group);
    ip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    controls_[ctl::IpAddress] = ip;

    auto* grid = new QGridLayout(group);
    grid->addWidget(rs232c, 0, 0);
    grid->addWidget(makeLabel("Port:", ports, group), 0, 1);
    grid->addWidget(ports, 0, 2);
    grid->addWidget(ethernet, 1, 0);
    grid->addWidget(makeLabel("IP Address :", ip, group), 1, 1);
    grid->addWidget(ip, 1, 2);
    grid->setColumnStretch(3, 1);
    grid->setColumnMinimumWidth(0, rs232c->sizeHint().width() + 16);
    return group;
}

QWidget* QtDialog::buildUpdateGroup() {
    auto* group = new QGroupBox(" Update mode ", this);
    auto* column = new QVBoxLayout(group);
    column->addWidget(addRadio(ctl::NormalUpdate, "Normal update.", updateGroup_, 0, group));
    column->addWidget(addRadio(ctl::AllDevice, "ALL device update.", updateGroup_, 1, group));
    return group;
}

QWidget* QtDialog::buildActionGroup() {
    auto* group = new QGroupBox(" Action ", this);
    auto* checkComm = makeButton("Check Comm.", group);
    auto* update = makeButton("Update", group);
    controls_[ctl::CheckComm] = checkComm;
    controls_[ctl::Update] = update;
    auto* column = new QVBoxLayout(group);
    column->addWidget(checkComm);
    column->addWidget(update);
    return group;
}

// Controls that exist for their fields and are never shown: they sit on a panel that is
// never part of the layout and stays hidden.
void QtDialog::buildHiddenControls() {
    hiddenPanel_ = new QWidget(this);
    hiddenPanel_->setObjectName("hiddenControls");
    hiddenPanel_->hide();
    QWidget* p = hiddenPanel_;
    addRadio(ctl::RadioIeee1394, "IEEE1394", commGroup_, 2, p);
    addRadio(ctl::Verify, "Verify", checkGroup_, 0, p);
    addRadio(ctl::Sum, "Sum", checkGroup_, 1, p);
    addRadio(ctl::All, "All", operationGroup_, 0, p);
    addRadio(ctl::Select, "Select", operationGroup_, 1, p);
    addEdit(ctl::PackageIdText, false, p);
    addEdit(ctl::TcpPort, false, p);
    controls_[ctl::BaudList] = new QComboBox(p);
    for (int position = 0; position < 20; ++position) {
        char caption[4];
        std::snprintf(caption, sizeof caption, "%02d", position + 1);
        controls_[ctl::targetBox(position)] = new QCheckBox(caption, p);
    }
    controls_[ctl::Backup] = new QCheckBox("Backup the setting of the product. ", p);
    controls_[ctl::PassSame] = new QCheckBox("Pass the update of the same version. ", p);
    controls_[ctl::CheckVersion] = makeButton("Check Version", p);
}

}  // namespace tarnwick
