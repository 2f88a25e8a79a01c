// The status line, the status window, the message pump and the timed waits.
#include <cstdio>

#include "window/main_window.h"
#include "window/status_line.h"

namespace tarnwick {

std::string composeStatusLine(const UpdatePackage& package, uint8_t currentNumber, uint8_t selectedCount,
                              uint8_t targetId, const std::string& text) {
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

std::string composePositionLine(uint8_t currentNumber, uint8_t selectedCount, uint64_t elapsedMs) {
    const unsigned long long seconds = elapsedMs / 1000u;
    char buf[96];
    int used = 0;
    if (currentNumber > 0 && selectedCount > 0) {
        used = std::snprintf(buf, sizeof buf, "component %d of %d   ", currentNumber, selectedCount);
    }
    std::snprintf(buf + used, sizeof buf - static_cast<size_t>(used), "elapsed %llu:%02llu", seconds / 60u,
                  seconds % 60u);
    return buf;
}

void MainWindow::showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) {
    if (updateRunning) {
        rowStates.reached(job.currentNumber, text == "Pass update.");
        if (activeLink != nullptr) runVersions.heard(activeLink->productInfo());
    }
    if (updateRunning && text == "Reboot(Nomal Mode)...") normalModeConfirmed = true;
    recorder.statusShown(targetId, text, showProgress, percent);
    if (station != nullptr) {
        station->showStatus(targetId, text, percent);
        return;
    }
    if (statusQuiet) return;
    if (observer != nullptr) observer->statusShown(targetId, text, showProgress, percent);
    if (statusWindow == nullptr) {
        dialog_.setWaitCursor(true);
        statusWindow = dialog_.createStatusWindow([this] { statusWindow = nullptr; });
    }
    if (statusWindow != nullptr) {
        showPosition();
        statusWindow->setStatus(composeStatusLine(package, job.currentNumber, job.selectedCount, targetId, text),
                                showProgress, percent);
    }
}

void MainWindow::showPosition() {
    if (station != nullptr || statusWindow == nullptr) return;
    // The count is of what this link writes; the status line's own counter stays as it is.
    const uint8_t current = updateRunning ? job.currentNumber : 0;
    const auto count = static_cast<uint8_t>(rowStates.linkCount());
    statusWindow->setPosition(composePositionLine(current, count, clock_.nowMs() - procedureStartMs));
}

void MainWindow::closeStatusWindow() {
    if (statusWindow == nullptr) return;
    StatusWindow* window = statusWindow;
    statusWindow = nullptr;
    window->destroy();
}

// Every pump also moves the elapsed time on, so a long wait shows the run is alive; a
// station looks at every pump whether it was asked to stop.
void MainWindow::pumpMessages() {
    if (station != nullptr) station->betweenFrames();
    showPosition();
    dialog_.pumpMessages();
}

void MainWindow::repaintDuringWait() { pumpMessages(); }

void MainWindow::waitSeconds(std::chrono::seconds n) {
    const uint8_t count = static_cast<uint8_t>(n.count());
    for (uint8_t i = 0; i < count; ++i) {
        clock_.settleFor(std::chrono::seconds{1});
        pumpMessages();
    }
}

void MainWindow::setQuiet(bool quiet) {
    statusQuiet = quiet;
    messagesQuiet = quiet;
}

}  // namespace tarnwick
