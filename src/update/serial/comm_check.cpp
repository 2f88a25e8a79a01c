// "Check Comm." over RS-232C: does the product answer, in its normal mode (the text query
// at 9600 bit/s) or in its update mode (the connect frame at the update rate)? The steps
// run quietly; only the final box is shown.
#include "app/main_window.h"

namespace tarnwick {

namespace {

constexpr uint8_t kNormalModeBaud = 0;
constexpr uint8_t kSystemMicrocomputer = 1;
constexpr uint32_t kConnectSeconds = 3;

enum CheckState : uint8_t { OpenNormal, QueryNormal, OpenUpdate, ConnectUpdate, Close, Passed, Failed };

// One state of the check; returns the next.
CheckState runCheckState(MainWindow& w, CheckState state, uint8_t portIndex, uint8_t updateBaud) {
    TargetLink& link = *w.serialLink;
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

void MainWindow::checkCommunication() {
    readControls();
    const auto portIndex = static_cast<uint8_t>(selectedPortIndex());
    const uint8_t baud = updateBaud();
    createSerialLink();
    disableControls();
    showStatus(0, "Checking communication...", 0, 0);
    statusQuiet = true;
    messagesQuiet = true;
    CheckState state = OpenNormal;
    while (state != Passed && state != Failed) state = runCheckState(*this, state, portIndex, baud);
    closeStatusWindow();
    statusQuiet = false;
    messagesQuiet = false;
    lastCheckResult = state == Passed ? 1 : 0;
    if (state == Passed) {
        showInfo("Communication check OK.");
    } else {
        showError("Communication check NG!");
    }
    updateControls();
    serialLink.reset();
}

}  // namespace tarnwick
