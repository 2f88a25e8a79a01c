// The update over RS-232C as a state machine: one step per state, each step's outcome
// selects the next state; error states map to one result report at the end. A declined
// confirmation ends the run without a report.
#include <array>

#include "app/dialog.h"
#include "app/main_window.h"

namespace tarnwick {

namespace {

enum class Outcome { Success, Alternate, Failure, Declined };
using Step = Outcome (*)(MainWindow&);

constexpr uint8_t kFinished = 0xFF;    // after the one report
constexpr uint8_t kUnexpected = 0xEF;  // a step outcome its row does not expect

Outcome fromResult(int result) { return result == 1 ? Outcome::Success : Outcome::Failure; }

bool confirmed(MainWindow& w, const std::string& question) { return w.askYesNo(question) == kAnswerYes; }

// --- steps with their confirmations and decisions ---

Outcome portTest(MainWindow& w) { return fromResult(w.testPort()); }
Outcome normalModeProbe(MainWindow& w) { return fromResult(w.probeNormalMode()); }

// A product that did not answer in its normal mode but does at the update rate has an
// interrupted update behind it: rewrite every selected component, if the operator agrees.
Outcome recoveryConnect(MainWindow& w) {
    if (w.connectForRecovery() != 1) return Outcome::Failure;
    if (w.updateMode == 1) return Outcome::Success;
    if (!confirmed(w, std::string("Is the recovery update executed?\n\n") + "Note :\n" +
                          " The firmware of all devices is updated!")) {
        return Outcome::Declined;
    }
    w.updateMode = 1;
    w.writeControls();
    return Outcome::Success;
}

Outcome productVersions(MainWindow& w) { return fromResult(w.readProductVersions()); }

// Types match: Success. They differ and the operator goes on: Alternate.
Outcome firmwareType(MainWindow& w) {
    const int change = w.compareFirmwareType();
    if (change == 0) return Outcome::Success;
    const std::string types = change == 1
                                  ? std::string(" Target Product : Upgrade version\n") + " Firmware file : Normal version\n\n"
                                  : std::string(" Target Product : Normal version\n") + " Firmware file : Upgrade version\n\n";
    const std::string question = std::string("The firmware type is different\n") +
                                 " in the target product and the firmware file!\n\n" + types + "Is the update continued?";
    return confirmed(w, question) ? Outcome::Alternate : Outcome::Declined;
}

Outcome downgrade(MainWindow& w) {
    if (w.checkNoDowngrade() == 1) return Outcome::Success;
    if (!confirmed(w, std::string("The firmware version is downgraded!\n\n") + "Is the update continued?")) {
        return Outcome::Declined;
    }
    w.showInfo(std::string("Note :\n") + " After completing the update,\n" + " Set the update notification to OFF\n" +
               " by the setup menu!");
    return Outcome::Success;
}

Outcome packageId(MainWindow& w) { return fromResult(w.writePackageId()); }

// Something to do when a selected component differs from the product, or for "ALL device update.".
Outcome needsUpdate(MainWindow& w) {
    for (int i = 0; i < kMaxComponents; ++i) {
        if (w.targetChecked[static_cast<size_t>(i)] == 1 && w.isSameVersion(i) == 0) return Outcome::Success;
    }
    return w.updateMode == 1 ? Outcome::Success : Outcome::Failure;
}

Outcome rebootToUpdate(MainWindow& w) { return fromResult(w.rebootToUpdateMode()); }
Outcome connectInUpdate(MainWindow& w) { return fromResult(w.connectInUpdateMode()); }
Outcome productModel(MainWindow& w) { return fromResult(w.readProductModel()); }
Outcome modelCheck(MainWindow& w) { return w.productModelText == w.package.modelCode ? Outcome::Success : Outcome::Failure; }
Outcome components(MainWindow& w) { return fromResult(w.updateTargets()); }

Outcome normalMode(MainWindow& w) {
    w.returnToNormalMode();  // its failures have reported themselves; the update is done
    return Outcome::Success;
}

Outcome completed(MainWindow& w) {
    w.reportResult(0);
    return Outcome::Success;
}

struct StateRow {
    Step step;
    uint8_t onSuccess;
    uint8_t onAlternate;
    uint8_t onFailure;
};

// Indexed by state 0..15.
constexpr std::array<StateRow, 16> kStates = {{
    /*  0 */ {portTest, 1, 0, 0xE0},
    /*  1 */ {normalModeProbe, 3, 0, 2},
    /*  2 */ {recoveryConnect, 10, 0, 0xE2},
    /*  3 */ {productVersions, 4, 0, 0xE3},
    /*  4 */ {firmwareType, 5, 8, kUnexpected},
    /*  5 */ {downgrade, 6, 0, kUnexpected},
    /*  6 */ {packageId, 7, 0, 0xEB},
    /*  7 */ {needsUpdate, 9, 0, 0xEC},
    /*  8 */ {packageId, 9, 0, 0xEB},
    /*  9 */ {rebootToUpdate, 10, 0, 0xE6},
    /* 10 */ {connectInUpdate, 11, 0, 0xE7},
    /* 11 */ {productModel, 12, 0, 0xE8},
    /* 12 */ {modelCheck, 13, 0, 0xE9},
    /* 13 */ {components, 14, 0, 0xEA},
    /* 14 */ {normalMode, 15, 0, 15},
    /* 15 */ {completed, kFinished, 0, kFinished},
}};

// The result code an error state reports.
int resultCodeFor(uint8_t errorState) {
    switch (errorState) {
        case 0xE0:
        case 0xE2:
        case 0xE3:
        case 0xE6:
        case 0xE7:
        case 0xE8: return 6;   // "Communication error!"
        case 0xE9: return 5;   // the model mismatch
        case 0xEA: return 1;   // "Update Failed!"
        case 0xEB: return 9;   // "Package Version Update Error!"
        case 0xEC: return 10;  // "No device to be renewed."
        default: return 7;     // "Illegal processing!"
    }
}

void runStates(MainWindow& w) {
    uint8_t state = 0;
    while (state != kFinished) {
        if (state >= kStates.size()) {
            w.reportResult(resultCodeFor(state));
            return;
        }
        const StateRow& row = kStates[state];
        switch (row.step(w)) {
            case Outcome::Success: state = row.onSuccess; break;
            case Outcome::Alternate: state = row.onAlternate; break;
            case Outcome::Failure: state = row.onFailure; break;
            case Outcome::Declined: return;
        }
    }
}

}  // namespace

void MainWindow::runSerialUpdate() {
    createSerialLink();
    disableControls();
    showStatus(0, "Updating start...", 0, 0);
    runStates(*this);
    closeStatusWindow();
    updateMode = 0;
    writeControls();
    updateControls();
    serialLink.reset();
}

}  // namespace tarnwick
