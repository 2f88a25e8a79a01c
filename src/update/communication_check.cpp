// "Check Comm.": does the product answer, in its normal mode (the information query) or
// in its update mode (the connect frame)? Each state runs once; the steps run quietly and
// only the final box is shown. The route decides which port each attempt opens.
#include "update/procedure_run.h"

#include "update/update_timeouts.h"

namespace tarnwick {

namespace {

enum CheckState : uint8_t { OpenNormal, QueryNormal, OpenUpdate, ConnectUpdate, Close, Passed, Failed };

}  // namespace

bool ProcedureRun::checkCommunication() {
    host.showStatus(0, "Checking communication...", 0, 0);
    host.setQuiet(true);
    CheckState state = OpenNormal;
    while (state != Passed && state != Failed) {
        switch (state) {
            case OpenNormal: state = openFor(PortUse::NormalMode) ? QueryNormal : Failed; break;
            case QueryNormal: {
                const bool answered = link_->queryTargetInfo();
                closeLinkPort();
                state = answered ? Close : OpenUpdate;
                break;
            }
            case OpenUpdate: state = openFor(PortUse::Check) ? ConnectUpdate : Failed; break;
            case ConnectUpdate:  // a refused connect leaves the port open until the link goes
                state = link_->connectTarget(kSystemMicrocomputer, kProbeConnectWait) ? Close : Failed;
                break;
            case Close: closeLinkPort(); state = Passed; break;
            case Passed:
            case Failed: break;
        }
    }
    host.closeStatusWindow();
    host.setQuiet(false);
    if (state == Passed) {
        host.showInfo("Communication check OK.");
    } else {
        host.showError("Communication check NG!");
    }
    return state == Passed;
}

}  // namespace tarnwick
