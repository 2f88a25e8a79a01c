#include "station/station.h"

#include <cstdio>

#include "package/work_files.h"
#include "platform/paths.h"
#include "report/error_log.h"
#include "station/station_run.h"
#include "station/station_slot.h"
#include "station/station_status.h"

namespace tarnwick {

void Station::computeStationPaths() {
    infoFilePath.clear();
    stationIpText.clear();
    stationDir.clear();
    foundUpdateFile.clear();
    skipFlag = false;
    driveText.fill(0);
    const std::string drive = programDrive();
    std::snprintf(driveText.data(), driveText.size(), "%s", drive.c_str());
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", number());
    stationDir = programDirWithSeparator() + digits;
    infoFilePath = stationDir + "/UpdateInformation" + digits + ".txt";
}

void Station::runStation() { StationRun(*this, window_, dialog_).run(); }

std::string Station::workDir() const { return workDirFor(true, stationDir); }

void Station::showStatus(uint8_t targetId, const std::string& text, int percent) {
    betweenFrames();
    lastTarget_ = targetId;
    lastStatus_ = text;
    lastPercent_ = percent;
    if (ensureSharedArea() != 1) return;
    const UpdateJob& job = window_.job;
    SlotWriter(slotBase, number())
        .writeStatus(stationShortLabel(text),
                     stationTargetText(window_.package, targetId, text, job.currentNumber, job.selectedCount),
                     percent);
}

void Station::reportFailure(const FailureReport& report, const ErrorRecord& record) {
    const std::string line = stationFailureLine(number(), report);
    SlotWriter(slotBase, number()).writeMessage(line);
    writeErrorLog(line, record.targetId, static_cast<int32_t>(record.progress));
}

void Station::reportResult(int code) { SlotWriter(slotBase, number()).writeResult(code); }

// When the area cannot be created or mapped, the box says so once and every later write
// into the slot is skipped.
int Station::ensureSharedArea() {
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

void Station::releaseSharedArea() {
    sharedArea.release();
    slotBase = nullptr;
}

int Station::writeErrorLog(const std::string& text, uint32_t targetId, int32_t progress) {
    const ErrorLogRecord record =
        composeErrorLog(stationDir, number(), window_.package, text, targetId, progress, localTimeNow());
    logPath = record.path;
    return writeErrorLogFile(record, stderr);
}

}  // namespace tarnwick
