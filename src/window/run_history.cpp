// The record of each run the window's procedures make, kept in the history when there is one.
#include "window/main_window.h"
#include "history/history_place.h"
#include "history/record_format.h"

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

// An update's record says whether the product was seen going back to its normal mode, as
// the warning after "Update completed." does.
void MainWindow::endRecord(const TargetInfo& reported, int code) {
    recorder.finish(&reported, code, utcNow());
    RunRecord run = recorder.record();
    if (run.kind == RunKind::Update) run.normalModeConfirmed = normalModeConfirmed;
    keepRecord(std::move(run));
}

// An update that ends before its procedure starts (nothing selected, a station's files
// unreadable) is recorded too: its result, the error line behind it, the package when one
// is loaded with every component not attempted, and no product, since none was asked.
void MainWindow::endBeforeStart(int code, const std::string& errorLine) {
    readJob();
    beginRecord(RunKind::Update, commType == 1);
    reportResult(code);
    recorder.finish(nullptr, code, utcNow());
    RunRecord run = recorder.record();
    run.model.clear();
    if (!packageLoaded) run.packageFile.clear();  // a file that would not load took no part
    for (ComponentRecord& c : run.components) c.outcome = ComponentOutcome::NotAttempted;
    if (!errorLine.empty()) run.errorBoxes.push_back(errorLine);
    keepRecord(std::move(run));
}

void MainWindow::keepRecord(RunRecord run) {
    if (history == nullptr) return;
    run.host = hostName();
    if (!run.packageFile.empty()) run.packageSha256 = packageSha256;
    recorder.stored(history->recordRun(run));
}

std::string MainWindow::lastSerialNumber() const {
    if (!recorder.record().serialNumber.empty()) return recorder.record().serialNumber;
    std::string serial = checkedProduct.serialNumber;
    while (!serial.empty() && (serial.back() == ' ' || serial.back() == '\r')) serial.pop_back();
    return serial;
}

std::string MainWindow::historyListing(const std::string& serialNumber) const {
    if (history == nullptr) return "No history is kept.\n";
    HistoryQuery query;
    query.serialNumber = serialNumber;
    return historyTable(history->queryRuns(query));
}

}  // namespace tarnwick
