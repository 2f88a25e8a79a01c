// "Check Comm." over RS-232C: does the product answer, in its normal mode (the text query
// at 9600 bit/s) or in its update mode (the connect frame at the update rate)? The steps
// run quietly; only the final box is shown.
#include "update/serial/serial_run.h"

namespace tarnwick {

namespace {

constexpr uint32_t kConnectSeconds = 3;

enum CheckState : uint8_t { OpenNormal, QueryNormal, OpenUpdate, ConnectUpdate, Close, Passed, Failed };

// One state of the check; returns the next.
CheckState runCheckState(TargetLink& link, CheckState state, uint8_t portIndex, uint8_t updateBaud) {
    switch (state) {
        case OpenNormal: return link.openPort(portIndex, kNormalModeBaud) == 1 ? QueryNormal : Failed;
        case QueryNormal: {
            const int answered = link.queryTargetInfo();
            link.closePort();
            return answered == 1 ? Close : OpenUpdate;
        }
        case OpenUpdate: return link.openPort(portIndex, updateBaud) == 1 ? ConnectUpdate : Failed;
        case ConnectUpdate:  // a refused connect leaves the port open until the link goes
            return link.connectTarget(kSystemMicrocomputer, kConnectSeconds) == 1 ? Close : Failed;
        case Close: link.closePort(); return Passed;
        case Passed:
        case Failed: return state;
    }
    return Failed;
}

}  // namespace

int SerialRun::checkCommunication() {
    host.showStatus(0, "Checking communication...", 0, 0);
    host.setQuiet(true);
    CheckState state = OpenNormal;
    while (state != Passed && state != Failed) state = runCheckState(*link_, state, port(), updateBaud());
    host.closeStatusWindow();
    host.setQuiet(false);
    if (state == Passed) {
        host.showInfo("Communication check OK.");
    } else {
        host.showError("Communication check NG!");
    }
    return state == Passed ? 1 : 0;
}

}  // namespace tarnwick
