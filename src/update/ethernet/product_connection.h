// The Ethernet route's connections: the one command channel a run's link works over,
// connected to one of the product's ports at a time; each connect and close is a line of
// the link's wire trace.
#pragma once
#include <cstdint>
#include <string>

#include "link/target_link.h"
#include "platform/command_channel.h"

namespace tarnwick {

// Connects the channel to address and port (closing a connection still open); 1/0.
int openChannel(CommandChannel& channel, TargetLink& link, const std::string& address, uint16_t port);

// Ends the channel's connection; nothing when none is open.
void closeChannel(CommandChannel& channel, TargetLink& link);

}  // namespace tarnwick
