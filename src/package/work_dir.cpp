// The main window's work directory: where it is, creating it, deleting the component files.
#include <cstdio>

#include "app/main_window.h"
#include "package/work_files.h"
#include "platform/paths.h"

namespace tarnwick {

int MainWindow::prepareWorkDir() {
    workDir = workDirFor(stationMode, stationDir);
    return createDirectoryLevel(workDir);
}

void MainWindow::deleteWorkFiles() {
    for (const ComponentEntry& entry : package.components) {
        if (!entry.dataFilePath.empty()) std::remove(entry.dataFilePath.c_str());
    }
}

}  // namespace tarnwick
