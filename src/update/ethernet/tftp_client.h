// The network module's TFTP client: write requests only, octet mode, 512-byte blocks,
// one component image that is already in memory per put.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/link_owner.h"
#include "report/error_record.h"
#include "platform/clock.h"
#include "platform/tftp_socket.h"

namespace tarnwick {

constexpr size_t kTftpBlockSize = 512;
constexpr size_t kTftpPacketSize = 4 + kTftpBlockSize;
constexpr size_t kTftpReplySize = 1028;

// What awaitReply made of the module's answer.
enum class TftpReply : int {
    Ack = 1,          // acknowledgement of the expected block
    Error = 2,        // ERROR packet from the module
    Nothing = 3,      // nothing arrived within the wait
    Failed = 5,       // receive failed, empty datagram, or another address
    OtherBlock = 6,   // acknowledgement of another block
    ForeignPort = 7,  // the module's address, but not the transfer's port
};

// The progress text of a component kind (1 boot loader, 2 image with cne, 3 image, else web page).
const char* tftpProgressText(uint8_t kind);
// The text of an ERROR packet the client sends, by error code.
const char* tftpErrorText(uint16_t code);

class TftpClient {
public:
    explicit TftpClient(Clock& clock);
    virtual ~TftpClient();
    TftpClient(const TftpClient&) = delete;
    TftpClient& operator=(const TftpClient&) = delete;

    void setOwner(LinkOwner* owner) { owner_ = owner; }
    // Where the transfers are told to the wire trace: the request, retransmissions, replies
    // dropped or answered with an error, and the end; unset: nowhere.
    void setTraceNote(std::function<void(const std::string&)> note) { note_ = std::move(note); }
    // The module's server port when it is not the services database's "tftp" entry (0).
    void setServerPort(uint16_t port) { serverPort_ = port; }

    // True when the socket toward the module is ready; reports nothing.
    [[nodiscard]] bool open(const char* moduleAddress);
    // True when the whole image was acknowledged; false after a failure that was reported.
    [[nodiscard]] bool put(uint8_t targetId, uint8_t kind, const char* fileName, const uint8_t* data,
                           uint32_t length);
    void close();

    // The steps of put: None or the failure, each failure reported with process code 5.
    [[nodiscard]] ErrorCode sendRequest(uint8_t targetId, uint8_t kind, const char* fileName);
    [[nodiscard]] ErrorCode sendData(uint8_t targetId, uint8_t kind, const uint8_t* data, uint32_t length);
    // Collects one reply, across datagrams if need be.
    [[nodiscard]] TftpReply awaitReply(uint16_t block);
    // Sends ERROR code to the port of the last datagram; true when all of it was taken.
    [[nodiscard]] bool sendError(uint16_t code);

    TftpSocket& socket() { return *socket_; }

private:
    // Sends the packet in the send buffer until block is acknowledged, retransmitting it up
    // to three times; a percent of 0 or more is shown after every send. None or the failure.
    ErrorCode exchange(uint8_t targetId, uint8_t kind, uint16_t block, size_t length, int percent);
    bool waitForDatagram();
    // A reply outcome once the reply is complete, else nothing yet.
    std::optional<TftpReply> collect(uint8_t byte, size_t& position, uint16_t block);
    void status(uint8_t targetId, uint8_t kind, int percent);
    ErrorCode fail(uint8_t targetId, ErrorCode code, int progress);
    void trace(const std::string& text) const {
        if (note_) note_("tftp " + text);
    }
    // What became of a reply that was not the acknowledgement of block.
    void traceReply(TftpReply reply, uint16_t block) const;

    Clock& clock_;
    LinkOwner* owner_ = nullptr;
    std::function<void(const std::string&)> note_;
    std::unique_ptr<TftpSocket> socket_;
    uint16_t serverPort_ = 0;
    int lastPercent_ = 0;
    std::array<uint8_t, kTftpPacketSize> send_{};
    std::array<uint8_t, kTftpPacketSize> receive_{};
    std::array<uint8_t, kTftpReplySize> reply_{};
    std::array<uint8_t, 48> error_{};
};

}  // namespace tarnwick
