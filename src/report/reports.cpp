// Message boxes with their tone, the failure reports and the result report.
#include <cstdio>

#include "app/main_window.h"
#include "app/station_status.h"
#include "report/texts.h"

namespace tarnwick {

namespace {
constexpr uint32_t kToneHz = 442;
constexpr uint32_t kToneMs = 100;
}  // namespace

void MainWindow::showMessage(BoxKind kind, const std::string& text) {
    closeStatusWindow();
    tone_.play(kToneHz, kToneMs);
    dialog_.messageBox(kind, text, kAppTitle);
}

void MainWindow::showInfo(std::string text) {
    if (messagesQuiet) return;
    showMessage(BoxKind::Info, text);
}

void MainWindow::showError(std::string text) {
    if (messagesQuiet) return;
    showMessage(BoxKind::Error, text);
}

int MainWindow::askYesNo(const std::string& text) {
    if (messagesQuiet) return 0;
    closeStatusWindow();
    tone_.play(kToneHz, kToneMs);
    return dialog_.messageBox(BoxKind::Question, text, kAppTitle);
}

std::string MainWindow::reportTargetName(uint32_t targetId) const {
    const ComponentEntry* c = package.componentById(targetId);
    if (c != nullptr) return c->name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "ID:%02X", targetId & 0xFFu);
    return buf;
}

void MainWindow::reportFailure(ErrorRecord record, bool checkReport) {
    if (record.errorCode == kErrNone) return;
    const std::string target = reportTargetName(record.targetId);
    const std::string process = processText(record.processCode);
    const std::string error = record.errorCode == kErrReply ? microcomputerErrorText()
                              : checkReport                 ? checkErrorText(record.errorCode)
                                                            : linkErrorText(record.errorCode);
    if (stationMode) {
        char line[kSlotMessageSize];
        std::snprintf(line, sizeof line, "No[%02d],Target[%s],Process[%s],Error[%s]", stationNumber, target.c_str(),
                      process.c_str(), error.c_str());
        storeStationMessage(line);
        // The station's error log is written here once the log files exist.
        return;
    }
    if (messagesQuiet) return;
    showMessage(BoxKind::Error, "Target : " + target + "\nProcess : " + process + "\nError : " + error + "\n");
}

void MainWindow::reportLinkError(ErrorRecord record) { reportFailure(record, false); }

void MainWindow::reportCheckError(ErrorRecord record) { reportFailure(record, true); }

std::string MainWindow::microcomputerErrorText() const {
    const LinkErrorSource* link = serialLink ? static_cast<const LinkErrorSource*>(serialLink.get())
                                  : tcpLink  ? static_cast<const LinkErrorSource*>(tcpLink.get())
                                             : nullptr;
    const uint32_t code = link != nullptr ? link->lastErrorCode() : 0xFFu;
    return microcomputerText(code);
}

void MainWindow::reportResult(int code) {
    lastResultCode = code;
    if (stationMode) {
        storeStationResult(code == 0 ? "SUCCESS" : "ERROR");
        return;
    }
    const std::string text = code == 5 ? modelMismatchText(productModelText, package.modelCode) : resultText(code);
    if (isInfoResult(code)) {
        showInfo(text);
    } else {
        showError(text);
    }
}

void MainWindow::storeStationResult(const std::string& text) {
    if (!stationMode || slotBase == nullptr || stationNumber < 1 || stationNumber > static_cast<int>(kSlotCount)) return;
    uint8_t* slot = slotBase + static_cast<size_t>(stationNumber - 1) * kSlotSize;
    copyToField(slot + kSlotLabelOffset, kSlotLabelSize, text);
}

void MainWindow::storeStationMessage(const std::string& text) {
    if (!stationMode || slotBase == nullptr || stationNumber < 1 || stationNumber > static_cast<int>(kSlotCount)) return;
    uint8_t* slot = slotBase + static_cast<size_t>(stationNumber - 1) * kSlotSize;
    copyToField(slot + kSlotMessageOffset, kSlotMessageSize, text);
}

}  // namespace tarnwick
