// What the RS-232C and the Ethernet procedures have in common: the route owns its transport
// and the run a link over it for its lifetime; the run works on the job it is given and
// talks to the operator through the host. The steps whose bodies are the same on both
// routes live here; a route opens its transport for each step (the device at a bit rate,
// or the address at a TCP port), and supplies how it takes one hop of a target
// switch, which attribute bit marks its components and how long a written component settles.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>

#include "link/target_link.h"
#include "link/transport.h"
#include "platform/clock.h"
#include "update/update_host.h"
#include "update/update_job.h"
#include "update/version_rules.h"

namespace tarnwick {

constexpr uint8_t kSystemMicrocomputer = 1;  // target 1, the one every run connects to first
constexpr uint8_t kNormalModeTarget = 0x10;  // the switch that leaves the update mode

// What a step opens the port or a connection for.
enum class PortUse {
    NormalMode,  // the port test and the normal-mode probe
    Command,     // the text commands of the normal mode: versions, package id, reboot
    Check,       // the communication check's second attempt, in the update mode
    Recovery,    // the recovery connect
    UpdateMode,  // the connect in update mode, open to the end of the run
};

class ProcedureRun {
public:
    // Makes the link over the route's transport (which outlives the run's link), gives it
    // the host as owner and the job's wire trace, and attaches it to the host.
    ProcedureRun(UpdateJob& job, UpdateHost& host, Transport& transport, Clock& clock);
    // Detaches the link; the route closes its port or connection when it goes.
    virtual ~ProcedureRun();
    ProcedureRun(const ProcedureRun&) = delete;
    ProcedureRun& operator=(const ProcedureRun&) = delete;

    // "Check Comm.": true when the product answered in its normal or its update mode. Runs
    // quietly and ends with the one box.
    [[nodiscard]] bool checkCommunication();

    // --- steps both routes run the same way: true on success ---
    [[nodiscard]] bool testPort();
    [[nodiscard]] bool probeNormalMode();
    [[nodiscard]] bool connectForRecovery();
    [[nodiscard]] bool readProductVersions();
    [[nodiscard]] bool writePackageId();
    [[nodiscard]] bool connectInUpdateMode();
    [[nodiscard]] bool readProductModel();
    [[nodiscard]] bool updateTargets();

    // --- the version rules on what the product reported last ---
    [[nodiscard]] bool isSameVersion(int position) const;
    [[nodiscard]] FirmwareTypeChange compareFirmwareType() const;
    [[nodiscard]] bool checkNoDowngrade() const;
    // What the product reported to its last information query.
    const TargetInfo& reported() const { return link_->targetInfo; }

    UpdateJob& job;
    UpdateHost& host;

protected:
    // What a text command of the normal mode came to.
    enum class NormalModeAnswer { Answered, Unanswered, NotReached };

    // Opens the port or connects for the use; 1/0.
    [[nodiscard]] virtual bool openFor(PortUse use) = 0;
    // Closes the port or the connection.
    virtual void closeLinkPort() = 0;
    // One hop of a target switch, ending connected to `to`; true on success.
    [[nodiscard]] virtual bool switchHop(uint8_t from, uint8_t to) = 0;
    // The attribute bit that marks a component this route writes with frames.
    virtual uint32_t routeAttribute() const = 0;
    // How long a written component settles before its check.
    virtual std::chrono::seconds writeSettleWait(const ComponentEntry& component) const = 0;

    // Runs one text command of the normal mode over a port or connection of its own,
    // closed again whatever the answer.
    [[nodiscard]] NormalModeAnswer inNormalMode(bool (TargetLink::*command)());
    [[nodiscard]] bool switchToTarget(uint8_t fromId, uint8_t toId);
    [[nodiscard]] bool updateComponent(int position, uint8_t& previousId);

    std::unique_ptr<TargetLink> link_;
};

}  // namespace tarnwick
