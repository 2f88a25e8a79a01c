// One procedure over RS-232C: the communication check or the update sequence. The steps
// both routes share come from ProcedureRun; this route opens the job's serial device at
// 9600 bit/s for the normal mode and at the update rate for the rest.
#pragma once
#include <cstdint>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "update/procedure_run.h"

namespace tarnwick {

constexpr uint8_t kNormalModeBaud = 0;  // the product's normal mode always runs at 9600 bit/s

// The route's serial port, a base ahead of ProcedureRun: made before the link over it, and
// closed (the device let go) only after the link is gone.
struct SerialRunPort {
    explicit SerialRunPort(Clock& clock) : port(clock) {}
    SerialPort port;
};

class SerialRun : private SerialRunPort, public ProcedureRun {
public:
    // The link over the route's port (with the job's wire trace), attached to the host;
    // nothing is opened yet.
    SerialRun(UpdateJob& job, UpdateHost& host, Clock& clock);

    // The update sequence, from "Updating start..." to its one result (or a declined
    // confirmation).
    void update();

    // --- the steps of this route: true on success ---
    [[nodiscard]] bool rebootToUpdateMode();
    [[nodiscard]] bool returnToNormalMode();

protected:
    bool openFor(PortUse use) override;
    void closeLinkPort() override;
    bool switchHop(uint8_t from, uint8_t to) override;
    uint32_t routeAttribute() const override { return kAttrRs232c; }
    std::chrono::seconds writeSettleWait(const ComponentEntry& component) const override;

private:
    // Opens the job's device at the bit rate, noted in the wire trace; 1/0.
    [[nodiscard]] bool openAt(uint8_t baudIndex);
};

}  // namespace tarnwick
