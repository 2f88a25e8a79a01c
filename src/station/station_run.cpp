#include "station/station_run.h"

#include <cstdio>

#include "window/control_ids.h"
#include "platform/regular_file.h"
#include "station/station.h"
#include "station/station_info.h"

namespace tarnwick {

namespace {
constexpr int kResultUnreadable = 2;  // "File reading error!": "ERROR" in the slot
constexpr uint32_t kStationTarget = 1;
constexpr int kBaudSelection = 4;  // "115200bps"
}  // namespace

void StationRun::run() {
    s_.computeStationPaths();
    if (readStationInfo() != 1) {
        fail(kLogInfoUnreadable);
    } else if (findUpdateFile() != 1) {
        fail(kLogNoUpdateFile);
    } else {
        prepareStationRun();
        if (load() != 1) {
            explainUpdateFile(s_.foundUpdateFile);
            fail(kLogUpdateFileUnreadable);
        } else {
            w_.onUpdate();
        }
    }
    w_.onQuit();
}

int StationRun::readStationInfo() {
    w_.showStatus(0, kMsgInfoLoading, 0, 0);
    StationInfo info;
    info.drive = s_.driveText.data();
    const int result = tarnwick::readStationInfo(s_.infoFilePath, info);
    s_.stationIpText = info.ipText;
    s_.skipFlag = info.skip;
    s_.driveText.fill(0);
    std::snprintf(s_.driveText.data(), s_.driveText.size(), "%s", info.drive.c_str());
    if (result != 1) {
        w_.showError(kMsgInfoOpenFailed);
        w_.reportResult(kResultUnreadable);
    }
    w_.closeStatusWindow();
    return result;
}

int StationRun::findUpdateFile() { return tarnwick::findUpdateFile(s_.driveText.data(), s_.foundUpdateFile); }

void StationRun::prepareStationRun() {
    w_.commType = 1;
    dialog_.setPortSelection(0);
    dialog_.setBaudSelection(kBaudSelection);
    w_.ipAddress = stationIpAddress(s_.stationIpText);
    w_.tcpPortText = "5000";
    w_.updateFilePath = s_.foundUpdateFile;
    w_.modelText.clear();
    w_.packageIdText.clear();
    w_.checksumText.clear();
    for (int p = 0; p < kMaxComponents; ++p) {
        w_.targetChecked[static_cast<size_t>(p)] = 0;
        dialog_.setControlCaption(ctl::targetBox(p), "");
        dialog_.enableControl(ctl::targetBox(p), false);
    }
    w_.checkMode = 1;
    w_.operationMode = 0;
    w_.updateMode = 0;
    for (int id : {ctl::PassSame, ctl::Backup, ctl::Update}) dialog_.enableControl(id, false);
    w_.workDir.clear();
    w_.package.clear();
    w_.statusQuiet = true;
    w_.messagesQuiet = true;
    w_.writeControls();
    w_.onCommTypeChanged();
}

int StationRun::load() {
    if (w_.loadUpdateFile() != 1) return 0;
    w_.packageLoaded = true;
    w_.refreshTargetList();
    w_.readControls();
    w_.writeControls();
    const int before = w_.commType;
    w_.updateControls();
    // A package that does not allow Ethernet moves the communication type; the targets are
    // then chosen again for the type it moved to, as a click on that type would.
    if (w_.commType != before) w_.onCommTypeChanged();
    return 1;
}

// The load's own messages are quiet in a station; standard error says why the file would
// not open when it is no regular file.
void StationRun::explainUpdateFile(const std::string& path) {
    std::string why;
    if (std::FILE* f = openRegularFile(path, kNoSizeLimit, &why)) {
        std::fclose(f);
        return;
    }
    std::fprintf(stderr, "tarnwick: the update file %s: %s\n", path.c_str(), why.c_str());
}

void StationRun::fail(const char* logText) {
    s_.writeErrorLog(logText, kStationTarget, 0);
    w_.endBeforeStart(kResultUnreadable, logText);
}

}  // namespace tarnwick
