#include "window/main_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "window/control_ids.h"
#include "window/next_steps.h"
#include "package/work_files.h"
#include "platform/paths.h"

namespace tarnwick {

const char* const kAppTitle = "Ostrel Firmware Writer";

namespace {
// A closing pause with the wait cursor before the window ends (scaled for demos).
constexpr std::chrono::milliseconds kQuitSettleWait{1500};
constexpr const char* kCaption = "Ostrel Firmware Writer [0002] (for QT818LX) [Rev.2.1.5]";
constexpr const char* kFactoryMode = " <Factory Mode>";

const std::vector<std::string>& baudRateEntries() {
    static const std::vector<std::string> entries = {"  9600bps", " 19200bps", " 38400bps", " 57600bps",
                                                     "115200bps"};
    return entries;
}
// A first argument of exactly three characters beginning with "/" gives the station number
// from its other two characters; a value of 0 (also from non-digits) leaves station mode off.
int stationNumberOf(const std::vector<std::string>& args) {
    if (args.empty()) return 0;
    const std::string& first = args.front();
    if (first.size() != 3 || first[0] != '/') return 0;
    return std::atoi(first.c_str() + 1);
}
}  // namespace

std::string windowCaption(bool stationMode) {
    if (!stationMode) return kCaption;
    return std::string(kCaption) + " " + kFactoryMode;
}

MainWindow::MainWindow(Dialog& dialog, Clock& clock, Tone& tone, std::vector<std::string> arguments)
    : args(std::move(arguments)), dialog_(dialog), clock_(clock), tone_(tone) {}

void MainWindow::readControls() { dialog_.readControls(*this); }

void MainWindow::writeControls() { dialog_.writeControls(*this); }

void MainWindow::initDialog() {
    stationNumber = stationNumberOf(args);
    stationMode = stationNumber != 0;
    dialog_.setWindowCaption(windowCaption(stationMode));
    enumeratePorts();
    dialog_.setBaudList(baudRateEntries());

    activeLink = nullptr;
    statusWindow = nullptr;
    dialog_.setPortSelection(portTable.count > 0 ? 0 : -1);
    dialog_.setBaudSelection(4);
    ipAddress = {192, 168, 0, 1};
    tcpPortText = "5000";
    statusQuiet = false;
    messagesQuiet = false;
    job = UpdateJob{};

    clearAll();
    operationMode = 0;
    checkMode = 1;
    updateMode = 0;
    package.selectAllowed = false;
    writeControls();
}

void MainWindow::clearAll() {
    updateFilePath.clear();
    modelText.clear();
    packageIdText.clear();
    checksumText.clear();
    for (int p = 0; p < kMaxComponents; ++p) {
        targetChecked[static_cast<size_t>(p)] = 0;
        dialog_.setControlCaption(ctl::targetBox(p), "");
        dialog_.enableControl(ctl::targetBox(p), false);
    }
    dialog_.enableControl(ctl::CheckVersion, false);
    checkMode = 1;
    operationMode = 0;
    updateMode = 0;
    static const int kDisabledByClear[] = {ctl::All,      ctl::Select,        ctl::NormalUpdate, ctl::AllDevice,
                                           ctl::Verify,   ctl::Sum,           ctl::PassSame,     ctl::Backup,
                                           ctl::RadioRs232c, ctl::PortList,   ctl::RadioEthernet, ctl::IpAddress,
                                           ctl::CheckComm, ctl::Update};
    for (int id : kDisabledByClear) dialog_.enableControl(id, false);
    workDir.clear();
    package.clear();
    packageLoaded = false;
    rowStates.clear();
    runVersions.clear();
    writeControls();
    onCommTypeChanged();
    if (stationMode && station != nullptr) {
        pumpMessages();
        station->runStation();
    }
}

void MainWindow::onCommTypeChanged() {
    readControls();
    dialog_.enableControl(ctl::PortList, commType == 0);
    dialog_.enableControl(ctl::IpAddress, commType == 1);
    writeControls();
    refreshTargetList();
    showSelectionStates();
}

void MainWindow::onModeClicked() {
    refreshTargetList();
    showSelectionStates();
}

void MainWindow::setNextSteps(const std::string& text) {
    nextSteps = text;
    if (station == nullptr) dialog_.showNextSteps(text);
}

void MainWindow::onLoad() {
    setNextSteps("");
    procedureStartMs = clock_.nowMs();
    updateRunning = false;
    disableControls();
    OpenFileRequest request{"Select the firmware file", "Update file(*.bin)", "*.bin", currentDirectory()};
    std::string chosen;
    if (dialog_.chooseOpenFile(request, chosen)) {
        clearAll();
        updateFilePath = chosen;
        writeControls();
        dialog_.selectPathText();
        if (loadUpdateFile() == 1) {
            packageLoaded = true;
            refreshTargetList();
            readControls();
            writeControls();
            rowStates.showSelection(package, targetChecked, commType);
        }
    }
    updateControls();
    showComponentPanel();
    dialog_.focusControl(ctl::Load);
}

void MainWindow::onCheckComm() {
    setNextSteps("");
    procedureStartMs = clock_.nowMs();
    updateRunning = false;
    readControls();
    switch (commType) {
        case 0: checkCommunication(); break;
        case 1: checkEthernet(); break;
        default: break;
    }
}

void MainWindow::onUpdate() {
    setNextSteps("");
    normalModeConfirmed = false;
    procedureStartMs = clock_.nowMs();
    job.currentNumber = 0;
    job.selectedCount = 0;
    readControls();
    for (int checked : targetChecked) {
        if (checked == 1) ++job.selectedCount;
    }
    if (job.selectedCount == 0) {
        endBeforeStart(4, "");
        return;
    }
    updateRunning = true;
    lastResultCode = -1;
    rowStates.startRun(package, targetChecked, commType);
    runVersions.startRun(productKnown ? &checkedProduct : nullptr);
    showComponentPanel();
    switch (commType) {
        case 0: runSerialUpdate(); break;
        case 1: runEthernetUpdate(); break;
        default: break;
    }
    updateRunning = false;
    if (lastResultCode == 0 && !normalModeConfirmed) setNextSteps(kStillInUpdateModeWarning);
}

void MainWindow::onQuit() {
    closeStatusWindow();
    dialog_.setWaitCursor(true);
    if (station != nullptr) station->releaseSharedArea();
    deleteWorkFiles(package);
    clock_.settleFor(kQuitSettleWait);
    dialog_.endDialog();
}

void MainWindow::onClose() {
    closeStatusWindow();
    dialog_.setWaitCursor(true);
    clock_.settleFor(kQuitSettleWait);
    dialog_.endDialog();
}

void MainWindow::readJob() {
    job.package = &package;
    job.targetChecked = targetChecked;
    job.updateMode = updateMode;
    job.checkMode = checkMode;
    const int selection = dialog_.portSelection();
    const bool listed = selection >= 0 && selection < portTable.count;
    job.portIndex = listed ? portTable.number[static_cast<size_t>(selection)] : -1;
    job.devicePath = listed ? portTable.devicePath[static_cast<size_t>(selection)] : std::string();
    job.baudSelection = dialog_.baudSelection();
    char ip[16];
    std::snprintf(ip, sizeof ip, "%d.%d.%d.%d", ipAddress[0], ipAddress[1], ipAddress[2], ipAddress[3]);
    job.ipText = ip;
    job.tcpPortText = tcpPortText;
    job.workDir = workDir;
    job.tracePath = linkTracePath;
}

}  // namespace tarnwick
