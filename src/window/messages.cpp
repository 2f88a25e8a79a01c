// Message boxes with their tone, and where the failure and result reports go: a box, or in
// station mode the station.
#include "window/main_window.h"
#include "window/next_steps.h"
#include "report/reports.h"
#include "report/texts.h"

namespace tarnwick {

namespace {
constexpr uint32_t kToneHz = 442;
constexpr uint32_t kToneMs = 100;
constexpr uint32_t kNoProductCode = 0xFF;  // no link: the unknown text

void reportFailure(MainWindow& w, const ErrorRecord& record, bool checkReport) {
    if (record.errorCode == numberOf(ErrorCode::None)) return;
    const uint32_t productCode = w.activeLink != nullptr ? w.activeLink->lastErrorCode() : kNoProductCode;
    const FailureReport report = composeFailure(record, checkReport, w.package, productCode);
    w.recorder.failureReported(record, failureBoxText(report));
    if (w.observer != nullptr) w.observer->failureReported(record, failureBoxText(report));
    if (w.updateRunning) w.rowStates.failed(report.error);
    if (w.station != nullptr) {
        w.station->reportFailure(report, record);
        return;
    }
    w.showError(failureBoxText(report));
}
}  // namespace

int MainWindow::showBox(BoxKind kind, const std::string& text) {
    closeStatusWindow();
    tone_.play(kToneHz, kToneMs);
    recorder.boxShown(kind, text);
    if (observer != nullptr) observer->boxShown(kind, text);
    return dialog_.messageBox(kind, text, kAppTitle);
}

void MainWindow::showInfo(std::string text) {
    if (!messagesQuiet) showBox(BoxKind::Info, text);
}

void MainWindow::showError(std::string text) {
    if (!messagesQuiet) showBox(BoxKind::Error, text);
}

// While the box is up, the window names what the question is about; the box text stays the system's own.
int MainWindow::askYesNo(const std::string& text) {
    if (messagesQuiet) return 0;
    const std::string before = nextSteps;
    const TargetInfo* product = activeLink != nullptr ? activeLink->productInfo() : nullptr;
    if (updateRunning && product != nullptr) {
        // Found in its update mode the product reports no versions: the question is the recovery's.
        const std::string subject = product->slotVersions[0].empty()
                                        ? std::string(kRecoveryQuestionSubject)
                                        : questionSubject(package, *product, job.updateMode, routeAttributes(commType));
        if (!subject.empty()) setNextSteps(subject);
    }
    const int answer = showBox(BoxKind::Question, text);
    setNextSteps(before);
    return answer;
}

void MainWindow::reportLinkError(ErrorRecord record) { reportFailure(*this, record, false); }

void MainWindow::reportCheckError(ErrorRecord record) { reportFailure(*this, record, true); }

void MainWindow::reportResult(int code) {
    lastResultCode = code;
    const std::string text = resultReportText(code, job.productModelText, package.modelCode);
    recorder.resultReported(code, text);
    if (station != nullptr) {
        station->reportResult(code);
        return;
    }
    if (updateRunning) {  // the table shows the outcome while the box is up
        rowStates.endRun(code == 0, text);
        if (activeLink != nullptr) runVersions.heard(activeLink->productInfo());
        showComponentPanel();
    }
    if (isInfoResult(code)) {
        showInfo(text);
    } else {
        showError(text);
    }
    if (observer != nullptr) observer->resultReported(code, text);
}

}  // namespace tarnwick
