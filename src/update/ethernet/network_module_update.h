// The network module's step of the Ethernet update: the module is restarted into its
// boot loader through its command port, erased, sent the selected network-module
// components (attribute bit 2) by TFTP and restarted. With none selected it does nothing
// and succeeds.
#pragma once

#include "link/target_link.h"
#include "platform/clock.h"
#include "update/update_host.h"
#include "update/update_job.h"

namespace tarnwick {

constexpr uint32_t kNetworkModuleAttribute = 4;

// 1 when every selected network-module component was written (or none is selected), else
// 0 after its failure was reported. job carries the product's address and the selection;
// link is the run's TCP link (its targetInfo holds the product's versions), which the step
// may close and reconnect.
int updateNetworkModule(UpdateJob& job, UpdateHost& host, TargetLink& link, Clock& clock);

}  // namespace tarnwick
