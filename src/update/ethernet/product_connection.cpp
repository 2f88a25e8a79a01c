#include "update/ethernet/product_connection.h"

namespace tarnwick {

int openChannel(CommandChannel& channel, TargetLink& link, const std::string& address, uint16_t port) {
    const int connected = channel.connect(address, port) == 1 ? 1 : 0;
    link.traceNote("connect " + address + " port " + std::to_string(port) + ": " + (connected ? "ok" : "failed"));
    return connected;
}

void closeChannel(CommandChannel& channel, TargetLink& link) {
    if (!channel.isOpen()) return;
    link.traceNote("close connection to " + channel.address() + " port " + std::to_string(channel.port()));
    channel.close();
}

}  // namespace tarnwick
