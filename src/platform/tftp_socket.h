// The UDP socket of the TFTP client: one module address, the server port of the services
// database, and the transfer id (the module's port for this file) learnt from its first reply.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/native_handle.h"

namespace tarnwick {

class TftpSocket {
public:
    TftpSocket() = default;
    // Closes the socket as close() does.
    virtual ~TftpSocket();
    TftpSocket(const TftpSocket&) = delete;
    TftpSocket& operator=(const TftpSocket&) = delete;

    // Binds a socket to any local address and port and aims it at the module's server:
    // serverPort, or the "tftp"/"udp" entry of the services database when it is 0.
    // 1 when ready; 0 for an unusable address, a socket failure or no service entry.
    int open(const char* moduleAddress, uint16_t serverPort = 0);
    void close();
    bool isOpen() const { return fd_ != kNoHandle; }

    // One datagram to the remote address (the server port, then the transfer id); 1 when
    // the system took exactly length bytes.
    int sendPacket(const uint8_t* bytes, size_t length);
    // One datagram to another port of the module; 1 when all of it was taken.
    int sendPacketToPort(uint16_t port, const uint8_t* bytes, size_t length);
    // One datagram, cut to capacity. 0 when the receive failed, the datagram was empty or
    // it came from another address (then it is dropped). A datagram from the module records
    // its source port, and the first one makes that port the transfer id.
    size_t receivePacket(uint8_t* buffer, size_t capacity);

    // The descriptor the client's waits poll for a datagram (-1 when closed).
    NativeHandle handle() const { return fd_; }
    const char* moduleAddress() const { return address_.data(); }
    uint16_t serverPort() const { return serverPort_; }
    uint16_t transferId() const { return transferId_; }
    uint16_t sourcePort() const { return sourcePort_; }

private:
    int sendTo(uint16_t port, const uint8_t* bytes, size_t length);
    void forgetPeer(const char* moduleAddress);  // before a new open
    [[nodiscard]] bool acceptSource(uint32_t addressNetOrder, uint16_t port);

    NativeHandle fd_ = kNoHandle;
    std::array<char, 64> address_{};
    uint16_t serverPort_ = 0;
    uint16_t transferId_ = 0;
    uint16_t sourcePort_ = 0;
    uint32_t remoteAddress_ = 0;  // network byte order
    uint16_t remotePort_ = 0;     // the server port, then the transfer id
};

}  // namespace tarnwick
