// The window's procedures over RS-232C: the controls locked, the job read from them, the
// run, and the controls restored by the package's rules.
#include "window/main_window.h"
#include "window/next_steps.h"
#include "update/serial/serial_run.h"

namespace tarnwick {

void MainWindow::checkCommunication() {
    readControls();
    readJob();
    beginRecord(checkKind, false);
    SerialRun run(job, *this, clock_);
    disableControls();
    recordCheck(run.checkCommunication(), run.reported());
    endRecord(run.reported(), lastCheckResult == 1 ? 0 : 1);
    updateControls();
    showComponentPanel();
}

void MainWindow::recordCheck(int result, const TargetInfo& reported) {
    lastCheckResult = result;
    runVersions.clear();  // the table shows what this check read, not what a run replaced
    if (result == 0) setNextSteps(noAnswerChecklist(commType, job.ipText));
    // An answer from the update mode carries no versions.
    productKnown = result == 1 && !reported.slotVersions[0].empty();
    if (productKnown) checkedProduct = reported;
    if (productKnown && packageLoaded) {
        rowStates.showPlan(package, updatePlan(package, checkedProduct, updateMode, routeAttributes(commType)));
    }
}

void MainWindow::runSerialUpdate() {
    readControls();
    readJob();
    beginRecord(RunKind::Update, false);
    SerialRun run(job, *this, clock_);
    disableControls();
    run.update();
    rowStates.endRun(lastResultCode == 0, "");  // a declined question: nothing more was written
    endRecord(run.reported(), lastResultCode);
    closeStatusWindow();
    updateMode = 0;
    writeControls();
    updateControls();
    productKnown = false;  // the versions the last check read may have changed
    showComponentPanel();
}

void MainWindow::jobChanged(const UpdateJob& changed) {
    updateMode = changed.updateMode;
    writeControls();
}

void MainWindow::attachLink(const LinkErrorSource* link) { activeLink = link; }

}  // namespace tarnwick
