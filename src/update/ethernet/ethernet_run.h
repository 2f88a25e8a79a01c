// One procedure over Ethernet: the communication check or the update sequence, over TCP
// connections to the product's address. Port 23 takes the normal mode's probe, port 5000
// its text commands and the recovery connect, and the update port (the job's
// tcpPortText, 5000 unless changed) the check's second attempt, the update mode and the
// return to normal mode. The steps both routes share come from ProcedureRun.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "update/procedure_run.h"

namespace tarnwick {

constexpr uint16_t kTextPort = 23;
constexpr uint16_t kCommandPort = 5000;

// The job's tcpPortText read as a decimal port number; 0 when it is not one (1..65535).
uint16_t updatePortOf(const std::string& text);

class EthernetRun : public ProcedureRun {
public:
    // Creates the TCP link (with the job's wire trace) and attaches it to the host.
    EthernetRun(UpdateJob& job, UpdateHost& host, Clock& clock);

    // The update sequence, from "Updating start..." to its one result (or a declined
    // confirmation).
    void update();

    // --- the steps of this route: true on success ---
    [[nodiscard]] bool rebootToUpdateMode();
    [[nodiscard]] bool updateNetworkModule();
    [[nodiscard]] bool returnToNormalMode();

protected:
    int openFor(PortUse use) override;
    void closeLinkPort() override { link_->closeChannel(); }
    bool switchHop(uint8_t from, uint8_t to) override;
    uint32_t routeAttribute() const override { return kAttrEthernetFrames; }
    std::chrono::seconds writeSettleWait(const ComponentEntry&) const override;

private:
    // Connects to the job's address on port; a port of 0 is not tried.
    int openAt(uint16_t port);

    Clock& clock_;
};

}  // namespace tarnwick
