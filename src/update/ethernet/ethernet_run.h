// One procedure over Ethernet: the communication check or the update sequence, over TCP
// connections to the product's address. Port 23 takes the normal mode's probe, port 5000
// its text commands and the recovery connect, and the update port (the job's
// tcpPortText, 5000 unless changed) the check's second attempt, the update mode and the
// return to normal mode. The steps both routes share come from ProcedureRun.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "platform/command_channel.h"
#include "update/procedure_run.h"

namespace tarnwick {

constexpr uint16_t kTextPort = 23;
constexpr uint16_t kCommandPort = 5000;

// The job's tcpPortText read as a decimal port number; 0 when it is not one (1..65535).
uint16_t updatePortOf(const std::string& text);

// The route's command channel, a base ahead of ProcedureRun: made before the link over it,
// and closed only after the link is gone.
struct EthernetRunChannel {
    CommandChannel channel;
};

class EthernetRun : private EthernetRunChannel, public ProcedureRun {
public:
    // The link over the route's channel (with the job's wire trace), attached to the host;
    // nothing is connected yet.
    EthernetRun(UpdateJob& job, UpdateHost& host, Clock& clock);

    // The update sequence, from "Updating start..." to its one result (or a declined
    // confirmation).
    void update();

    // --- the steps of this route: true on success ---
    [[nodiscard]] bool rebootToUpdateMode();
    [[nodiscard]] bool updateNetworkModule();
    [[nodiscard]] bool returnToNormalMode();

protected:
    bool openFor(PortUse use) override;
    void closeLinkPort() override;
    bool switchHop(uint8_t from, uint8_t to) override;
    uint32_t routeAttribute() const override { return kAttrEthernetFrames; }
    std::chrono::seconds writeSettleWait(const ComponentEntry&) const override;

private:
    // Connects to the job's address on port; a port of 0 is not tried.
    [[nodiscard]] bool openAt(uint16_t port);

    Clock& clock_;
};

}  // namespace tarnwick
