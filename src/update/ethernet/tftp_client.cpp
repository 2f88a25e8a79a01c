#include "update/ethernet/tftp_client.h"

#include <algorithm>
#include <cstring>

#include "report/error_record.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetransmissions = 3;
constexpr uint32_t kReplyPolls = 300;  // about 3 s of 10 ms polls per datagram
constexpr uint32_t kPollMs = 10;
constexpr uint32_t kPauseAfterRequestMs = 3000;
constexpr uint16_t kUnknownTransferId = 5;

enum : uint8_t { kOpWriteRequest = 2, kOpData = 3, kOpAck = 4, kOpError = 5 };

const char kOctetMode[] = "octet";

void putBe16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value >> 8);
    at[1] = static_cast<uint8_t>(value);
}

// Percentage of the image taken so far; an empty image is whole with its one empty block.
int percentOf(uint32_t taken, uint32_t total) {
    return total == 0 ? 100 : static_cast<int>(static_cast<uint64_t>(taken) * 100 / total);
}

}  // namespace

const char* tftpProgressText(uint8_t kind) {
    switch (kind) {
        case 1: return "Updating(bootloader)...";
        case 2: return "Updating(image + cne)...";
        case 3: return "Updating(image)...";
        default: return "Updating...";
    }
}

const char* tftpErrorText(uint16_t code) {
    switch (code) {
        case 1: return "File not found.";
        case 2: return "Access violation.";
        case 3: return "Disk full or allocation exceeded.";
        case 4: return "Illegal TFTP operation.";
        case 5: return "Unknown transfer ID.";
        case 6: return "File already exists.";
        case 7: return "No such user.";
        default: return "Not defined Error.";
    }
}

TftpClient::TftpClient(Clock& clock) : clock_(clock), socket_(std::make_unique<TftpSocket>()) {}

TftpClient::~TftpClient() { close(); }

int TftpClient::open(const char* moduleAddress) { return socket_->open(moduleAddress, serverPort_); }

void TftpClient::close() { socket_->close(); }

int TftpClient::put(uint8_t targetId, uint8_t kind, const char* fileName, const uint8_t* data, uint32_t length) {
    const std::string name = fileName != nullptr ? fileName : "";
    trace("write request \"" + name + "\", " + std::to_string(length) + " bytes, to port " +
          std::to_string(socket_->serverPort()));
    int code = sendRequest(targetId, kind, fileName);
    if (code == 0) {
        clock_.settleMs(kPauseAfterRequestMs);
        code = sendData(targetId, kind, data, length);
    }
    trace("transfer of \"" + name + "\" " + (code == 0 ? std::string("ended: every block acknowledged")
                                                       : "failed with link error " + std::to_string(code)));
    return code == 0 ? 1 : 0;
}

int TftpClient::sendRequest(uint8_t targetId, uint8_t kind, const char* fileName) {
    lastPercent_ = 0;
    status(targetId, kind, 0);
    const size_t nameLength = fileName ? std::strlen(fileName) : 0;
    const size_t length = 2 + nameLength + 1 + sizeof kOctetMode;
    // A name that leaves no room for the mode cannot be requested.
    if (length > send_.size()) return fail(targetId, kErrComm, 0);
    putBe16(send_.data(), kOpWriteRequest);
    if (nameLength > 0) std::memcpy(send_.data() + 2, fileName, nameLength);
    send_[2 + nameLength] = 0;
    std::memcpy(send_.data() + 3 + nameLength, kOctetMode, sizeof kOctetMode);
    int code = exchange(targetId, kind, 0, length, -1);
    return code == 0 ? 0 : fail(targetId, code, 0);
}

int TftpClient::sendData(uint8_t targetId, uint8_t kind, const uint8_t* data, uint32_t length) {
    lastPercent_ = 0;
    uint32_t taken = 0;
    for (uint32_t block = 1;; ++block) {
        const uint32_t count = std::min<uint32_t>(kTftpBlockSize, length - taken);
        putBe16(send_.data(), kOpData);
        putBe16(send_.data() + 2, static_cast<uint16_t>(block));
        if (count > 0) std::memcpy(send_.data() + 4, data + taken, count);
        taken += count;
        int code = exchange(targetId, kind, static_cast<uint16_t>(block), 4 + count, percentOf(taken, length));
        if (code != 0) return fail(targetId, code, lastPercent_);
        if (count < kTftpBlockSize) return 0;
    }
}

int TftpClient::exchange(uint8_t targetId, uint8_t kind, uint16_t block, size_t length, int percent) {
    for (int retransmissions = 0;; ++retransmissions) {
        if (!socket_->sendPacket(send_.data(), length)) return kErrComm;
        if (percent >= 0) {
            lastPercent_ = percent;
            status(targetId, kind, percent);
        }
        const int reply = awaitReply(block);
        if (reply == kTftpAck) return 0;
        traceReply(reply, block);
        if (reply == kTftpError) return kErrReply;
        if (reply == kTftpForeignPort) sendError(kUnknownTransferId);
        if (retransmissions >= kMaxRetransmissions) return reply == kTftpNothing ? kErrTimeout : kErrRetry;
        trace("retransmission " + std::to_string(retransmissions + 1) + " of block " + std::to_string(block));
    }
}

void TftpClient::traceReply(int reply, uint16_t block) const {
    const std::string of = " (awaiting the acknowledgement of block " + std::to_string(block) + ")";
    switch (reply) {
        case kTftpError: {
            const uint16_t code = static_cast<uint16_t>(reply_[2] << 8 | reply_[3]);
            const char* text = reinterpret_cast<const char*>(reply_.data() + 4);
            trace("error reply " + std::to_string(code) + " \"" + std::string(text, strnlen(text, reply_.size() - 4)) +
                  "\"" + of);
            break;
        }
        case kTftpNothing: trace("no reply" + of); break;
        case kTftpOtherBlock:
            trace("acknowledgement of block " + std::to_string(reply_[2] << 8 | reply_[3]) + " dropped" + of);
            break;
        case kTftpForeignPort:
            trace("reply from port " + std::to_string(socket_->sourcePort()) + " answered with error 5" + of);
            break;
        default: trace("reply dropped: unreadable" + of); break;
    }
}

// Up to 300 polls of 10 ms; each poll ends as soon as a datagram is waiting.
bool TftpClient::waitForDatagram() {
    for (uint32_t poll = 0; poll < kReplyPolls; ++poll) {
        if (clock_.waitReadable(socket_->handle(), kPollMs)) return true;
    }
    return false;
}

int TftpClient::awaitReply(uint16_t block) {
    size_t position = 0;
    for (;;) {
        if (!waitForDatagram()) return kTftpNothing;
        const size_t count = socket_->receivePacket(receive_.data(), receive_.size());
        if (count == 0) return kTftpFailed;
        if (socket_->sourcePort() != socket_->transferId()) return kTftpForeignPort;
        // Bytes after a complete reply in the same datagram are not looked at.
        for (size_t k = 0; k < count; ++k) {
            const int reply = collect(receive_[k], position, block);
            if (reply != 0) return reply;
        }
    }
}

// Takes one byte of a reply at position; a reply outcome once the reply is complete, else 0.
int TftpClient::collect(uint8_t byte, size_t& position, uint16_t block) {
    reply_[position] = byte;
    switch (position) {
        case 0:
            if (byte == 0) position = 1;
            return 0;
        case 1:
            position = (byte == kOpAck || byte == kOpError) ? 2 : 0;
            return 0;
        case 2:
            position = 3;
            return 0;
        case 3:
            if (reply_[1] == kOpAck) {
                const uint16_t acked = static_cast<uint16_t>(reply_[2] << 8 | byte);
                return acked == block ? kTftpAck : kTftpOtherBlock;
            }
            position = 4;
            return 0;
        default:
            // The message of an ERROR packet: it ends with its zero byte, or where the reply
            // buffer ends.
            if (byte == 0 || position + 1 >= reply_.size()) return kTftpError;
            ++position;
            return 0;
    }
}

int TftpClient::sendError(uint16_t code) {
    const char* text = tftpErrorText(code);
    const size_t textLength = std::min(std::strlen(text), error_.size() - 5);
    putBe16(error_.data(), kOpError);
    putBe16(error_.data() + 2, code);
    std::memcpy(error_.data() + 4, text, textLength);
    error_[4 + textLength] = 0;
    return socket_->sendPacketToPort(socket_->sourcePort(), error_.data(), 4 + textLength + 1);
}

void TftpClient::status(uint8_t targetId, uint8_t kind, int percent) {
    if (owner_) owner_->showStatus(targetId, tftpProgressText(kind), 1, percent);
}

int TftpClient::fail(uint8_t targetId, int code, int progress) {
    if (owner_) {
        owner_->reportLinkError(ErrorRecord{targetId, static_cast<uint32_t>(code), kProcUpdate,
                                            static_cast<uint32_t>(progress)});
    }
    return code;
}

}  // namespace tarnwick
