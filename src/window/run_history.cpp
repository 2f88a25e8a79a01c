// The record of each run the window's procedures make, kept in the history when there is one.
#include "window/main_window.h"
#include "history/history_place.h"

namespace tarnwick {

void MainWindow::beginRecord(RunKind kind, bool ethernet) {
    RunContext context;
    context.kind = kind;
    context.frontEnd = frontEnd;
    context.packageFile = packageLoaded || kind == RunKind::Update ? updateFilePath : std::string();
    context.ethernet = ethernet;
    context.startUtc = utcNow();
    if (kind == RunKind::Update) lastResultCode = -1;
    recorder.begin(context, job);
}

void MainWindow::endRecord(const TargetInfo& reported, int code) {
    recorder.finish(&reported, code, utcNow());
    keepRecord(recorder.record());
}

void MainWindow::keepRecord(RunRecord run) {
    if (history == nullptr) return;
    run.host = hostName();
    if (!run.packageFile.empty()) run.packageSha256 = sha256OfFile(run.packageFile);
    recorder.stored(history->recordRun(run));
}

}  // namespace tarnwick
