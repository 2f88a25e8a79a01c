// Station mode on the main window: the station's paths, its run, its slot of the shared
// status area and its error log files.
#include <cstdio>

#include "app/main_window.h"
#include "app/station_run.h"
#include "package/station_slot.h"
#include "platform/paths.h"
#include "report/error_log.h"

namespace tarnwick {

void MainWindow::computeStationPaths() {
    infoFilePath.clear();
    stationIpText.clear();
    stationDir.clear();
    foundUpdateFile.clear();
    skipFlag = false;
    driveText.fill(0);
    const std::string drive = programDrive();
    std::snprintf(driveText.data(), driveText.size(), "%s", drive.c_str());
    if (!stationMode) return;
    char number[16];
    std::snprintf(number, sizeof number, "%02d", stationNumber);
    stationDir = programDirWithSeparator() + number;
    infoFilePath = stationDir + "/UpdateInformation" + number + ".txt";
}

void MainWindow::runStation() { StationRun(*this, dialog_).run(); }

// Maps the area at the first status write. When it cannot be created or mapped, the box
// says so once and every later write into the slot is skipped.
int MainWindow::ensureSharedArea() {
    if (slotBase != nullptr) return 1;
    if (sharedAreaRefused) return 0;
    const SharedArea::Result result = sharedArea.create(sharedAreaName(), kSharedAreaSize);
    if (result != SharedArea::Result::Mapped) {
        sharedAreaRefused = true;
        const char* text = result == SharedArea::Result::MapFailed ? kMsgAreaMapFailed : kMsgAreaCreateFailed;
        dialog_.messageBox(BoxKind::Error, text, kAreaFailureCaption);
        return 0;
    }
    slotBase = sharedArea.writableData();
    return 1;
}

void MainWindow::releaseSharedArea() {
    sharedArea.release();
    slotBase = nullptr;
}

int MainWindow::writeErrorLog(const std::string& text, uint32_t targetId, int32_t progress) {
    const ErrorLogRecord record =
        composeErrorLog(stationDir, stationNumber, package, text, targetId, progress, localTimeNow());
    logPath = record.path;
    return writeErrorLogFile(record, stderr);
}

}  // namespace tarnwick
