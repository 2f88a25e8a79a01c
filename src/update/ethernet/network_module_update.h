// The network module's update: every selected network-module component is sent to the
// module through its boot loader (command port 5001, TFTP), and the module is returned to
// its application after a boot loader update and once more at the end.
#pragma once
#include <cstdint>

#include "link/target_link.h"
#include "platform/clock.h"
#include "platform/command_channel.h"
#include "update/update_host.h"
#include "update/update_job.h"

namespace tarnwick {

// True when every selected network-module component was updated or passed, false after the
// first failure (reported where it was found, or not at all for a bad kind or unreadable
// data). link is the run's link over channel: its targetInfo holds the product's versions;
// the channel's connection is closed and used for the module's command port.
[[nodiscard]] bool updateNetworkModule(UpdateJob& job, UpdateHost& host, TargetLink& link, CommandChannel& channel,
                                       Clock& clock);

// The same with the module's TFTP server at tftpPort (0: the services database's "tftp").
[[nodiscard]] bool updateNetworkModule(UpdateJob& job, UpdateHost& host, TargetLink& link, CommandChannel& channel,
                                       Clock& clock, uint16_t tftpPort);

}  // namespace tarnwick
