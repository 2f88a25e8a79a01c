// One procedure over RS-232C: the communication check or the update sequence. The steps
// both routes share come from ProcedureRun; this route opens its port at 9600 bit/s for
// the normal mode and at the update rate for the rest.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "update/procedure_run.h"

namespace tarnwick {

constexpr uint8_t kNormalModeBaud = 0;  // the product's normal mode always runs at 9600 bit/s

class SerialRun : public ProcedureRun {
public:
    // Creates the serial link (with the job's wire trace) and attaches it to the host.
    SerialRun(UpdateJob& job, UpdateHost& host, Clock& clock);

    // The update sequence, from "Updating start..." to its one result (or a declined
    // confirmation).
    void update();

    // --- the steps of this route: true on success ---
    [[nodiscard]] bool rebootToUpdateMode();
    [[nodiscard]] bool returnToNormalMode();

protected:
    int openFor(PortUse use) override;
    void closeLinkPort() override { link_->closePort(); }
    bool switchHop(uint8_t from, uint8_t to) override;
    uint32_t routeAttribute() const override { return kAttrRs232c; }
    std::chrono::seconds writeSettleWait(const ComponentEntry& component) const override;

private:
    uint8_t port() const { return static_cast<uint8_t>(job.portIndex); }
};

}  // namespace tarnwick
