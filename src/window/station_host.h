// Station mode in place of the screen. A production-line station has no window: the window
// core hands its status lines, failure reports and result to the station, which publishes
// them in its slot of the shared status area and in its error log files, and the station's
// unattended run starts where the window would wait for the operator.
#pragma once
#include <cstdint>
#include <string>

#include "report/error_record.h"
#include "report/reports.h"

namespace tarnwick {

class StationHost {
public:
    virtual ~StationHost() = default;
    // The whole unattended run; it ends with "Quit".
    virtual void runStation() = 0;
    // Where a station keeps the package's component files.
    virtual std::string workDir() const = 0;
    virtual void showStatus(uint8_t targetId, const std::string& text, int percent) = 0;
    virtual void reportFailure(const FailureReport& report, const ErrorRecord& record) = 0;
    virtual void reportResult(int code) = 0;
    // At "Quit": the station lets go of the shared status area.
    virtual void releaseSharedArea() = 0;
    // Between two frames, and at every whole second of a wait: where a station asked to stop
    // ends its run honestly. Nothing to do when no stop was asked.
    virtual void betweenFrames() {}
};

}  // namespace tarnwick
