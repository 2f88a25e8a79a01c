// The Ethernet byte pipe: one TCP connection to the product's address and a port the
// caller chooses (23 for the normal-mode text commands, 5000 or the update port for the
// update mode). No framing of its own.
#pragma once
#include <chrono>
#include <cstdint>
#include <string>

#include "link/transport.h"
#include "platform/native_handle.h"
#include "platform/platform_timeouts.h"
#include "platform/read_cache.h"

namespace tarnwick {

constexpr size_t kAddressTextMax = 63;

class CommandChannel final : public Transport {
public:
    explicit CommandChannel(std::chrono::milliseconds connectBound = kTcpConnectBound);
    ~CommandChannel() override;
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    // Connects to address (dotted decimal) and port; 1 when connected. After a failure
    // the channel still counts as open until close. A connection already open is closed first.
    int connect(const std::string& address, uint16_t port);
    // Ends the connection; 1 when one was open, 0 the second time.
    int close() override;
    // 1 when the connection took all count bytes after at most 3 s of waiting.
    int send(const uint8_t* bytes, size_t count);
    // One receive of at most size bytes into buffer (which holds size + 1) followed by a
    // zero byte; the count, or 0 when the receive failed or the product closed.
    int receive(uint8_t* buffer, size_t size);
    // 1 when the connection takes bytes within 3 s.
    int isWritable();
    // 1 when bytes (or the product's close) are waiting now; never waits.
    int isReadable();

    int write(const uint8_t* bytes, size_t count) override { return send(bytes, count); }
    int read(uint8_t* bytes, size_t count) override;
    // Bytes taken in but not read, else what the socket holds; 1 for a connection the
    // product closed, so that the next read reports the failure.
    uint32_t bytesWaiting() override;
    int purge() override { return 0; }  // a stream has nothing to discard
    NativeHandle waitHandle() const override { return fd_; }
    TransportTraits traits() const override { return kTcpTraits; }

    bool isOpen() const { return open_; }
    bool isConnected() const { return connected_; }
    const std::string& address() const { return address_; }
    uint16_t port() const { return port_; }

private:
    bool connectSocket();  // the platform's socket to address_:port_, connected

    std::chrono::milliseconds connectBound_;
    NativeHandle fd_ = kNoHandle;
    bool open_ = false;
    bool connected_ = false;
    std::string address_;
    uint16_t port_ = 0;
    ReadCache cache_;
};

}  // namespace tarnwick
