// A listener beside the host: it hears what a run shows the operator (status lines, boxes,
// failure reports, the result) and has no say in it. The command line's summary, its JSON
// events and its interrupt handling listen here.
#pragma once
#include <cstdint>
#include <string>

#include "report/boxes.h"
#include "report/error_record.h"

namespace tarnwick {

class UpdateObserver {
public:
    virtual ~UpdateObserver() = default;
    virtual void statusShown(uint8_t /*targetId*/, const std::string& /*line*/, int /*showProgress*/, int /*percent*/) {}
    virtual void boxShown(BoxKind /*kind*/, const std::string& /*text*/) {}
    // A failure of a target, with the text its box shows.
    virtual void failureReported(const ErrorRecord& /*record*/, const std::string& /*text*/) {}
    // The run's one result, with the text its box shows.
    virtual void resultReported(int /*code*/, const std::string& /*text*/) {}
};

}  // namespace tarnwick
