#include "platform/command_channel.h"

namespace tarnwick {

CommandChannel::CommandChannel(std::chrono::milliseconds connectBound) : connectBound_(connectBound) {}

CommandChannel::~CommandChannel() { close(); }

}  // namespace tarnwick
