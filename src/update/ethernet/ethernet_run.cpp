// The Ethernet route's connections and its steps around the component updates: the
// reboot into update mode with the product's long restart, the target switches over the
// open connection, and the return to normal mode over a fresh connection.
#include "update/ethernet/ethernet_run.h"

#include <cstdlib>

#include "link/target_facts.h"
#include "update/ethernet/network_module_update.h"
#include "update/ethernet/product_connection.h"
#include "update/update_timeouts.h"

namespace tarnwick {

namespace {
constexpr uint8_t kOverConnection = 1;    // switch option: the connection stays open
}  // namespace

uint16_t updatePortOf(const std::string& text) {
    if (text.empty() || text.size() > 5) return 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
    }
    const unsigned long port = std::strtoul(text.c_str(), nullptr, 10);
    return port >= 1 && port <= 65535 ? static_cast<uint16_t>(port) : 0;
}

EthernetRun::EthernetRun(UpdateJob& runJob, UpdateHost& runHost, Clock& clock)
    : ProcedureRun(runJob, runHost, channel, clock), clock_(clock) {}

bool EthernetRun::openAt(uint16_t port) {
    if (port == 0) return false;
    return openChannel(channel, *link_, job.ipText, port) == 1;
}

void EthernetRun::closeLinkPort() { closeChannel(channel, *link_); }

bool EthernetRun::openFor(PortUse use) {
    switch (use) {
        case PortUse::NormalMode: return openAt(kTextPort);
        case PortUse::Command:
        case PortUse::Recovery: return openAt(kCommandPort);
        case PortUse::Check:
        case PortUse::UpdateMode: return openAt(updatePortOf(job.tcpPortText));
    }
    return false;
}

// The product restarts for up to 155 s. Unlike RS-232C, an unanswered command ends the
// run; its connection is left to the end of the run.
bool EthernetRun::rebootToUpdateMode() {
    if (!openFor(PortUse::Command)) return false;
    if (!link_->enterUpdateMode()) return false;
    host.showStatus(0, "Reboot(Update Mode)...", 0, 0);
    host.waitSeconds(kSettleWait);
    const auto seconds = kProductRestartWait.count();
    for (auto n = 1; n <= seconds; ++n) {
        host.showStatus(0, "Waiting for start of products.", 1, static_cast<int>(n * 100 / seconds));
        host.waitSeconds(std::chrono::seconds{1});
    }
    closeLinkPort();
    return true;
}

std::chrono::seconds EthernetRun::writeSettleWait(const ComponentEntry&) const { return kSettleWait; }

// A switch over Ethernet keeps the connection: the product answers on it again once the
// new target has started.
bool EthernetRun::switchHop(uint8_t from, uint8_t to) {
    if (link_->switchTarget(from, to, kOverConnection) != ErrorCode::None) return false;
    host.waitSeconds(targetFacts(to).restartsSlowly ? kEthernetSlowSwitchWait : kSettleWait);
    return link_->connectTarget(to, kConnectWait);
}

bool EthernetRun::updateNetworkModule() { return tarnwick::updateNetworkModule(job, host, *link_, channel, clock_); }

bool EthernetRun::returnToNormalMode() {
    closeLinkPort();
    if (!openFor(PortUse::UpdateMode)) return false;
    host.waitSeconds(kSettleWait);
    if (link_->switchTarget(kSystemMicrocomputer, kNormalModeTarget, kOverConnection) != ErrorCode::None) return false;
    host.waitSeconds(kSettleWait);
    if (!link_->enterNormalMode()) return false;
    host.showStatus(0, "Reboot(Nomal Mode)...", 0, 0);  // "Nomal" on purpose
    host.waitSeconds(kSettleWait);
    closeLinkPort();
    return true;
}

}  // namespace tarnwick
