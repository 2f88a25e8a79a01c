// What the procedures need of the person and the screen: status lines and message pumping
// (from LinkOwner), whole-second waits, boxes, the quiet mode of the communication check,
// the result report, and news of a run changing its job. The main window implements it for
// the window and the command line; station mode implements it the same way.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

#include "link/link_owner.h"
#include "report/boxes.h"
#include "update/update_job.h"

namespace tarnwick {

class UpdateHost : public LinkOwner {
public:
    // n times: sleep one second, then pump the window messages (n taken as 8 bits).
    virtual void waitSeconds(std::chrono::seconds n) = 0;
    virtual void closeStatusWindow() = 0;
    virtual void showInfo(std::string text) = 0;
    virtual void showError(std::string text) = 0;
    // kAnswerYes or kAnswerNo; 0 without a box when messages are quiet.
    virtual int askYesNo(const std::string& text) = 0;
    // Quiet: no status window, no boxes, no tones (the communication check's steps).
    virtual void setQuiet(bool quiet) = 0;
    // The one result of an update run, by its result code.
    virtual void reportResult(int code) = 0;
    // The run changed what the operator sees of its job (the recovery confirmation selects
    // "ALL device update.").
    virtual void jobChanged(const UpdateJob& job) = 0;
    // The link of the run while it lives, null at its end: a report of the product's error
    // frame names the product's own error code that this link received last.
    virtual void attachLink(const LinkErrorSource* link) = 0;
};

}  // namespace tarnwick
