// What the TFTP socket does the same on every platform: which peer it talks to, and which
// datagrams it takes.
#include "platform/tftp_socket.h"

#include <cstdio>

namespace tarnwick {

TftpSocket::~TftpSocket() { close(); }

void TftpSocket::forgetPeer(const char* moduleAddress) {
    address_.fill(0);
    serverPort_ = transferId_ = sourcePort_ = 0;
    remoteAddress_ = 0;
    remotePort_ = 0;
    std::snprintf(address_.data(), address_.size(), "%s", moduleAddress ? moduleAddress : "");
}

// Only the module's address is heard; the first port it answers from becomes the transfer
// id, and later packets go there.
bool TftpSocket::acceptSource(uint32_t addressNetOrder, uint16_t port) {
    if (addressNetOrder != remoteAddress_) return false;
    sourcePort_ = port;
    if (transferId_ == 0) {
        transferId_ = sourcePort_;
        remotePort_ = sourcePort_;
    }
    return true;
}

int TftpSocket::sendPacket(const uint8_t* bytes, size_t length) { return sendTo(remotePort_, bytes, length); }

int TftpSocket::sendPacketToPort(uint16_t port, const uint8_t* bytes, size_t length) {
    return sendTo(port, bytes, length);
}

}  // namespace tarnwick
