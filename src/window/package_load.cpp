// "Load" through the package loader: its status lines to the status window, its failures
// as error boxes.
#include "window/main_window.h"
#include "package/package_loader.h"
#include "package/work_files.h"
#include "history/history_place.h"

namespace tarnwick {

namespace {
class WindowLoadSink final : public LoadSink {
public:
    explicit WindowLoadSink(MainWindow& window) : window_(window) {}
    void loadStatus(const std::string& line) override { window_.showStatus(0, line, 0, 0); }
    void loadFailure(const std::string& message) override { window_.showError(message); }

private:
    MainWindow& window_;
};
}  // namespace

int MainWindow::loadUpdateFile() {
    WindowLoadSink sink(*this);
    workDir = station != nullptr ? station->workDir() : workDirFor(false, "");
    const int loaded = loadPackage(updateFilePath, workDir, package, sink,
                                   station != nullptr ? WorkDirRule::GroupWritable : WorkDirRule::Private);
    // The history names the package by its SHA-256: read once here, where the whole file is
    // read anyway, rather than at the end of every run.
    packageSha256 = loaded == 1 && history != nullptr ? sha256OfFile(updateFilePath) : std::string();
    closeStatusWindow();
    return loaded;
}

}  // namespace tarnwick
