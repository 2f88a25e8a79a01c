// The update over Ethernet as a state table on the shared runner: the RS-232C plan with
// the network module's step before the return to normal mode.
#include <array>

#include "update/ethernet/ethernet_run.h"
#include "update/component_checks.h"
#include "update/sequence_engine.h"

namespace tarnwick {

namespace {

using Row = StateRow<EthernetRun>;

// The step, once the data of every component the run will write (frame and network-module
// components alike) have passed their check (reported: null on the recovery path);
// otherwise Alternate, which the table leads to 0xEA.
Outcome withGoodData(EthernetRun& r, const TargetInfo* reported, Outcome (*step)(EthernetRun&)) {
    return checkSelectedComponentData(r.job, kAttrEthernet, reported) ? step(r) : Outcome::Alternate;
}

Outcome packageId(EthernetRun& r) { return fromResult(r.writePackageId()); }

Outcome recovery(EthernetRun& r) {
    return r.connectForRecovery() ? confirmRecovery(r.host, r.job) : Outcome::Failure;
}

// A run that did reach the product in its update mode has nothing more to fail: the
// return to normal mode reports its own failures.
Outcome normalMode(EthernetRun& r) {
    (void)r.returnToNormalMode();
    return Outcome::Success;
}

// Indexed by state 0..16. The components' data are checked where the run would first change
// the product: before the package id (after the version decisions) and before the recovery
// connect.
constexpr std::array<Row, 17> kStates = {{
    /*  0 */ {[](EthernetRun& r) { return fromResult(r.testPort()); }, 1, 0, 0xE0},
    /*  1 */ {[](EthernetRun& r) { return fromResult(r.probeNormalMode()); }, 3, 0, 2},
    /*  2 */ {[](EthernetRun& r) { return withGoodData(r, nullptr, recovery); }, 10, 0xEA, 0xE2},
    /*  3 */ {[](EthernetRun& r) { return fromResult(r.readProductVersions()); }, 4, 0, 0xE3},
    /*  4 */ {[](EthernetRun& r) { return confirmFirmwareType(r.host, r.compareFirmwareType()); }, 5, 8, kUnexpected},
    /*  5 */ {[](EthernetRun& r) { return confirmDowngrade(r.host, r.checkNoDowngrade()); }, 6, 0, kUnexpected},
    /*  6 */ {[](EthernetRun& r) { return withGoodData(r, &r.reported(), packageId); }, 7, 0xEA, 0xEB},
    /*  7 */ {[](EthernetRun& r) { return decideNeedsUpdate(r.job, r.reported()); }, 9, 0, 0xEC},
    /*  8 */ {[](EthernetRun& r) { return withGoodData(r, &r.reported(), packageId); }, 9, 0xEA, 0xEB},
    /*  9 */ {[](EthernetRun& r) { return fromResult(r.rebootToUpdateMode()); }, 10, 0, 0xE6},
    /* 10 */ {[](EthernetRun& r) { return fromResult(r.connectInUpdateMode()); }, 11, 0, 0xE7},
    /* 11 */ {[](EthernetRun& r) { return fromResult(r.readProductModel()); }, 12, 0, 0xE8},
    /* 12 */ {[](EthernetRun& r) { return checkProductModel(r.job); }, 13, 0, 0xE9},
    /* 13 */ {[](EthernetRun& r) { return fromResult(r.updateTargets()); }, 14, 0, 0xEA},
    /* 14 */ {[](EthernetRun& r) { return fromResult(r.updateNetworkModule()); }, 15, 0, 0xE5},
    /* 15 */ {normalMode, 16, 0, 16},
    /* 16 */ {[](EthernetRun& r) { return reportCompleted(r.host); }, kFinished, 0, kFinished},
}};

}  // namespace

void EthernetRun::update() {
    host.showStatus(0, "Updating start...", 0, 0);
    runSequence(kStates, *this, host);
}

}  // namespace tarnwick
