// The end of a station run that was asked to stop by signal. The line must never be left
// with "Updating..." for a station that is gone: the slot gets the result word and an error
// line, the error log gets its record, and the component files go with the process.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "package/work_directory.h"
#include "package/work_files.h"
#include "report/reports.h"
#include "station/station.h"
#include "station/station_slot.h"

namespace tarnwick {

namespace {
constexpr int kExitStopped = 130;

}  // namespace

void Station::betweenFrames() {
    if (stopping_ || stopSignals == nullptr) return;
    const int signal = stopSignals->requested();
    if (signal != 0) endStopped(signal);
}

void Station::endStopped(int signal) {
    stopping_ = true;
    const FailureReport report{reportTargetName(window_.package, lastTarget_),
                               lastStatus_.empty() ? std::string("Station run") : lastStatus_,
                               std::string("Interrupted by ") + stopSignalName(signal)};
    const std::string line = stationFailureLine(number(), report);
    if (ensureSharedArea() == 1) {
        SlotWriter slot(slotBase, number());
        slot.writeMessage(line);
        slot.writeResult(kExitStopped);
    }
    writeErrorLog(line, lastTarget_, lastPercent_);
    const std::string dir = workDir();
    for (const char* prefix : {kFirmDataPrefix, kVerifyDataPrefix}) {
        for (int p = 0; p < kMaxComponents && holdsWorkDirectory(dir); ++p) std::remove(workFilePath(dir, prefix, p).c_str());
    }
    std::fprintf(stderr, "tarnwick: station %02d stopped by %s; the product may be left in update mode.\n",
                 number(), stopSignalName(signal));
    std::fflush(stderr);
    releaseSharedArea();
    std::_Exit(kExitStopped);  // the run is not unwound: nothing of it may run on
}

}  // namespace tarnwick
