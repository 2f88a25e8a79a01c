// The window's procedures over Ethernet: the controls locked, the job read from them, the
// run, and the controls restored by the package's rules. Unlike RS-232C, the update keeps
// the update mode the run leaves (a confirmed recovery stays "ALL device update.").
#include "window/main_window.h"
#include "update/ethernet/ethernet_run.h"

namespace tarnwick {

void MainWindow::checkEthernet() {
    readControls();
    readJob();
    beginRecord(checkKind, true);
    EthernetRun run(job, *this, clock_);
    disableControls();
    recordCheck(run.checkCommunication(), run.reported());
    endRecord(run.reported(), lastCheckResult == 1 ? 0 : 1);
    updateControls();
    showComponentPanel();
}

void MainWindow::runEthernetUpdate() {
    readControls();
    readJob();
    beginRecord(RunKind::Update, true);
    EthernetRun run(job, *this, clock_);
    disableControls();
    run.update();
    rowStates.endRun(lastResultCode == 0, "");  // a declined question: nothing more was written
    endRecord(run.reported(), lastResultCode);
    closeStatusWindow();
    const int kept = updateMode;  // a control update alone would select "Normal update." again
    updateControls();
    updateMode = kept;
    writeControls();
    productKnown = false;  // the versions the last check read may have changed
    showComponentPanel();
}

}  // namespace tarnwick
