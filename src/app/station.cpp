// Station mode: the station's paths. The unattended run and the shared status area are
// not built yet; until they are, a station run does nothing and no area is mapped.
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "platform/paths.h"

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

void MainWindow::runStation() {}

int MainWindow::ensureSharedArea() { return slotBase != nullptr ? 1 : 0; }

void MainWindow::releaseSharedArea() { slotBase = nullptr; }

}  // namespace tarnwick
