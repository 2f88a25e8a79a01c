// The status line, the status window, the message pump and the timed waits.
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "app/station_status.h"

namespace tarnwick {

std::string MainWindow::composeStatusLine(uint8_t targetId, const std::string& text) const {
    if (targetId == 0) return text;
    char buf[96];
    const ComponentEntry* c = package.componentById(targetId);
    if (c == nullptr) {
        std::snprintf(buf, sizeof buf, "[ID:%02X] ", targetId);
        return buf + text;
    }
    std::snprintf(buf, sizeof buf, "%02d/%02d [%02X:", currentNumber, selectedCount, targetId);
    return buf + c->name + "] " + text;
}

void MainWindow::showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) {
    if (stationMode) {
        writeStationStatus(targetId, text, percent);
        return;
    }
    if (statusQuiet) return;
    ensureStatusWindow();
    if (statusWindow != nullptr) statusWindow->setStatus(composeStatusLine(targetId, text), showProgress, percent);
}

void MainWindow::writeStationStatus(uint8_t targetId, const std::string& text, int percent) {
    if (!ensureSharedArea() || slotBase == nullptr) return;
    if (stationNumber < 1 || stationNumber > static_cast<int>(kSlotCount)) return;
    uint8_t* slot = slotBase + static_cast<size_t>(stationNumber - 1) * kSlotSize;
    const std::string label = stationShortLabel(text).substr(0, 15);
    copyToField(slot + kSlotLabelOffset, kSlotLabelSize, label);
    copyToField(slot + kSlotTargetOffset, kSlotTargetSize,
                stationTargetText(package, targetId, text, currentNumber, selectedCount));
    const uint32_t value = static_cast<uint32_t>(percent);
    const uint8_t le[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                           static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    std::memcpy(slot + kSlotPercentOffset, le, sizeof le);
}

void MainWindow::ensureStatusWindow() {
    if (statusWindow != nullptr) return;
    dialog_.setWaitCursor(true);
    statusWindow = dialog_.createStatusWindow([this] { statusWindow = nullptr; });
}

void MainWindow::closeStatusWindow() {
    if (statusWindow == nullptr) return;
    StatusWindow* window = statusWindow;
    statusWindow = nullptr;
    window->destroy();
}

void MainWindow::pumpMessages() { dialog_.pumpMessages(); }

void MainWindow::waitSeconds(uint32_t n) {
    const uint8_t count = static_cast<uint8_t>(n);
    for (uint8_t i = 0; i < count; ++i) {
        clock_.settleMs(1000);
        pumpMessages();
    }
}

}  // namespace tarnwick
