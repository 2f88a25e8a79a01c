#include "platform/command_channel.h"

namespace tarnwick {

CommandChannel::CommandChannel(std::chrono::milliseconds connectBound) : connectBound_(connectBound) {}

CommandChannel::~CommandChannel() { close(); }

int CommandChannel::connect(const std::string& address, uint16_t port) {
    close();
    address_ = address.substr(0, kAddressTextMax);
    port_ = port;
    // From here the channel counts as open: close releases whatever was created.
    open_ = true;
    connected_ = connectSocket();
    return connected_ ? 1 : 0;
}

}  // namespace tarnwick
