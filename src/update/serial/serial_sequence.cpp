// The update over RS-232C as a state table on the shared runner.
#include <array>

#include "update/component_checks.h"
#include "update/sequence_engine.h"
#include "update/serial/serial_run.h"

namespace tarnwick {

namespace {

using Row = StateRow<SerialRun>;

// The step, once the data of every component the run will write have passed their check
// (reported: null on the recovery path); otherwise Alternate, which the table leads to 0xEA.
Outcome withGoodData(SerialRun& r, const TargetInfo* reported, Outcome (*step)(SerialRun&)) {
    return checkSelectedComponentData(r.job, kAttrRs232c, reported) ? step(r) : Outcome::Alternate;
}

// A run that did reach the product in its update mode has nothing more to fail: the
// return to normal mode reports its own failures.
Outcome normalMode(SerialRun& r) {
    (void)r.returnToNormalMode();
    return Outcome::Success;
}

Outcome packageId(SerialRun& r) { return fromResult(r.writePackageId()); }

Outcome recovery(SerialRun& r) {
    return r.connectForRecovery() ? confirmRecovery(r.host, r.job) : Outcome::Failure;
}

// Indexed by state 0..15. The components' data are checked where the run would first change
// the product: before the package id (after the version decisions, so that a component the
// run passes is not held against it) and before the recovery connect.
constexpr std::array<Row, 16> kStates = {{
    /*  0 */ {[](SerialRun& r) { return fromResult(r.testPort()); }, 1, 0, 0xE0},
    /*  1 */ {[](SerialRun& r) { return fromResult(r.probeNormalMode()); }, 3, 0, 2},
    /*  2 */ {[](SerialRun& r) { return withGoodData(r, nullptr, recovery); }, 10, 0xEA, 0xE2},
    /*  3 */ {[](SerialRun& r) { return fromResult(r.readProductVersions()); }, 4, 0, 0xE3},
    /*  4 */ {[](SerialRun& r) { return confirmFirmwareType(r.host, r.compareFirmwareType()); }, 5, 8, kUnexpected},
    /*  5 */ {[](SerialRun& r) { return confirmDowngrade(r.host, r.checkNoDowngrade()); }, 6, 0, kUnexpected},
    /*  6 */ {[](SerialRun& r) { return withGoodData(r, &r.reported(), packageId); }, 7, 0xEA, 0xEB},
    /*  7 */ {[](SerialRun& r) { return decideNeedsUpdate(r.job, r.reported()); }, 9, 0, 0xEC},
    /*  8 */ {[](SerialRun& r) { return withGoodData(r, &r.reported(), packageId); }, 9, 0xEA, 0xEB},
    /*  9 */ {[](SerialRun& r) { return fromResult(r.rebootToUpdateMode()); }, 10, 0, 0xE6},
    /* 10 */ {[](SerialRun& r) { return fromResult(r.connectInUpdateMode()); }, 11, 0, 0xE7},
    /* 11 */ {[](SerialRun& r) { return fromResult(r.readProductModel()); }, 12, 0, 0xE8},
    /* 12 */ {[](SerialRun& r) { return checkProductModel(r.job); }, 13, 0, 0xE9},
    /* 13 */ {[](SerialRun& r) { return fromResult(r.updateTargets()); }, 14, 0, 0xEA},
    /* 14 */ {normalMode, 15, 0, 15},
    /* 15 */ {[](SerialRun& r) { return reportCompleted(r.host); }, kFinished, 0, kFinished},
}};

}  // namespace

void SerialRun::update() {
    host.showStatus(0, "Updating start...", 0, 0);
    runSequence(kStates, *this, host);
}

}  // namespace tarnwick
