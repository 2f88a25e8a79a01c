// One procedure over RS-232C: the communication check or the update sequence with its
// steps, version rules and component updates. It owns its link for its lifetime, works on
// the job it is given and talks to the operator through the host.
#pragma once
#include <cstdint>
#include <memory>

#include "link/target_link.h"
#include "platform/clock.h"
#include "update/update_host.h"
#include "update/update_job.h"

namespace tarnwick {

constexpr uint8_t kNormalModeBaud = 0;       // the product's normal mode always runs at 9600 bit/s
constexpr uint8_t kSystemMicrocomputer = 1;  // target 1, the one every run connects to first

class SerialRun {
public:
    // Creates the link (with the job's wire trace) and attaches it to the host.
    SerialRun(UpdateJob& job, UpdateHost& host, Clock& clock);
    // Detaches the link; deleting it closes the port.
    ~SerialRun();
    SerialRun(const SerialRun&) = delete;
    SerialRun& operator=(const SerialRun&) = delete;

    // "Check Comm.": 1 when the product answered in its normal or its update mode. Runs
    // quietly and ends with the one box.
    int checkCommunication();
    // The update sequence, from "Updating start..." to its one result (or a declined
    // confirmation).
    void update();

    // --- the steps of the sequence ---
    int testPort();
    int probeNormalMode();
    int connectForRecovery();
    int readProductVersions();
    int writePackageId();
    int rebootToUpdateMode();
    int connectInUpdateMode();
    int readProductModel();
    int updateTargets();
    int returnToNormalMode();

    // --- the version rules on what the product reported last ---
    int isSameVersion(int position) const;
    int compareFirmwareType() const;
    int checkNoDowngrade() const;
    // What the product reported to its last information query.
    const TargetInfo& reported() const { return link_->targetInfo; }

    UpdateJob& job;
    UpdateHost& host;

private:
    int switchToTarget(uint8_t fromId, uint8_t toId);
    int openAtUpdateRate();
    int updateComponent(int position, uint8_t& previousId);
    // Opens the port at the normal mode's rate, runs one text command and closes the port.
    int atNormalRate(int (TargetLink::*command)());
    // The bit rate of the recovery connect and the check: the package's, else the list's.
    uint8_t updateBaud() const;
    uint8_t port() const { return static_cast<uint8_t>(job.portIndex); }

    std::unique_ptr<TargetLink> link_;
};

}  // namespace tarnwick
