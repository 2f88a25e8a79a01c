#include "update/ethernet/tftp_client.h"

#include <algorithm>
#include <cstring>

#include "link/link_timeouts.h"
#include "report/error_record.h"
#include "update/update_timeouts.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetransmissions = 3;
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

bool TftpClient::open(const char* moduleAddress) { return socket_->open(moduleAddress, serverPort_) == 1; }

void TftpClient::close() { socket_->close(); }

bool TftpClient::put(uint8_t targetId, uint8_t kind, const char* fileName, const uint8_t* data, uint32_t length) {
    const std::string name = fileName != nullptr ? fileName : "";
    trace("write request \"" + name + "\", " + std::to_string(length) + " bytes, to port " +
          std::to_string(socket_->serverPort()));
    ErrorCode code = sendRequest(targetId, kind, fileName);
    if (code == ErrorCode::None) {
        clock_.settleFor(kTftpPauseAfterRequest);
        code = sendData(targetId, kind, data, length);
    }
    trace("transfer of \"" + name + "\" " +
          (code == ErrorCode::None ? std::string("ended: every block acknowledged")
                                   : "failed with link error " + std::to_string(numberOf(code))));
    return code == ErrorCode::None;
}

ErrorCode TftpClient::sendRequest(uint8_t targetId, uint8_t kind, const char* fileName) {
    lastPercent_ = 0;
    status(targetId, kind, 0);
    const size_t nameLength = fileName ? std::strlen(fileName) : 0;
    const size_t length = 2 + nameLength + 1 + sizeof kOctetMode;
    // A name that leaves no room for the mode cannot be requested.
    if (length > send_.size()) return fail(targetId, ErrorCode::Comm, 0);
    putBe16(send_.data(), kOpWriteRequest);
    if (nameLength > 0) std::memcpy(send_.data() + 2, fileName, nameLength);
    send_[2 + nameLength] = 0;
    std::memcpy(send_.data() + 3 + nameLength, kOctetMode, sizeof kOctetMode);
    const ErrorCode code = exchange(targetId, kind, 0, length, -1);
    return code == ErrorCode::None ? code : fail(targetId, code, 0);
}

ErrorCode TftpClient::sendData(uint8_t targetId, uint8_t kind, const uint8_t* data, uint32_t length) {
    lastPercent_ = 0;
    uint32_t taken = 0;
    for (uint32_t block = 1;; ++block) {
        const uint32_t count = std::min<uint32_t>(kTftpBlockSize, length - taken);
        putBe16(send_.data(), kOpData);
        putBe16(send_.data() + 2, static_cast<uint16_t>(block));
        if (count > 0) std::memcpy(send_.data() + 4, data + taken, count);
        taken += count;
        const ErrorCode code =
            exchange(targetId, kind, static_cast<uint16_t>(block), 4 + count, percentOf(taken, length));
        if (code != ErrorCode::None) return fail(targetId, code, lastPercent_);
        if (count < kTftpBlockSize) return ErrorCode::None;
    }
}

ErrorCode TftpClient::exchange(uint8_t targetId, uint8_t kind, uint16_t block, size_t length, int percent) {
    for (int retransmissions = 0;; ++retransmissions) {
        if (!socket_->sendPacket(send_.data(), length)) return ErrorCode::Comm;
        if (percent >= 0) {
            lastPercent_ = percent;
            status(targetId, kind, percent);
        }
        const TftpReply reply = awaitReply(block);
        if (reply == TftpReply::Ack) return ErrorCode::None;
        traceReply(reply, block);
        if (reply == TftpReply::Error) return ErrorCode::ProductError;
        if (reply == TftpReply::ForeignPort) (void)sendError(kUnknownTransferId);  // its result is ignored
        if (retransmissions >= kMaxRetransmissions) {
            return reply == TftpReply::Nothing ? ErrorCode::Timeout : ErrorCode::Retry;
        }
        trace("retransmission " + std::to_string(retransmissions + 1) + " of block " + std::to_string(block));
    }
}

void TftpClient::traceReply(TftpReply reply, uint16_t block) const {
    const std::string of = " (awaiting the acknowledgement of block " + std::to_string(block) + ")";
    switch (reply) {
        case TftpReply::Error: {
            const uint16_t code = static_cast<uint16_t>(reply_[2] << 8 | reply_[3]);
            const char* text = reinterpret_cast<const char*>(reply_.data() + 4);
            trace("error reply " + std::to_string(code) + " \"" + std::string(text, strnlen(text, reply_.size() - 4)) +
                  "\"" + of);
            break;
        }
        case TftpReply::Nothing: trace("no reply" + of); break;
        case TftpReply::OtherBlock:
            trace("acknowledgement of block " + std::to_string(reply_[2] << 8 | reply_[3]) + " dropped" + of);
            break;
        case TftpReply::ForeignPort:
            trace("reply from port " + std::to_string(socket_->sourcePort()) + " answered with error 5" + of);
            break;
        default: trace("reply dropped: unreadable" + of); break;
    }
}

// Up to 300 polls of 10 ms; each poll ends as soon as a datagram is waiting. The owner's
// window repaints every tenth empty poll, as during the link's answer waits.
bool TftpClient::waitForDatagram() {
    for (uint32_t poll = 1; poll <= pollsOf(kTftpReplyWait); ++poll) {
        if (clock_.waitReadableFor(socket_->handle(), kPollInterval)) return true;
        if (poll % 10 == 0 && owner_ != nullptr) owner_->repaintDuringWait();
    }
    return false;
}

TftpReply TftpClient::awaitReply(uint16_t block) {
    size_t position = 0;
    for (;;) {
        if (!waitForDatagram()) return TftpReply::Nothing;
        const size_t count = socket_->receivePacket(receive_.data(), receive_.size());
        if (count == 0) return TftpReply::Failed;
        if (socket_->sourcePort() != socket_->transferId()) return TftpReply::ForeignPort;
        // Bytes after a complete reply in the same datagram are not looked at.
        for (size_t k = 0; k < count; ++k) {
            if (const std::optional<TftpReply> reply = collect(receive_[k], position, block)) return *reply;
        }
    }
}

std::optional<TftpReply> TftpClient::collect(uint8_t byte, size_t& position, uint16_t block) {
    reply_[position] = byte;
    switch (position) {
        case 0:
            if (byte == 0) position = 1;
            return std::nullopt;
        case 1:
            position = (byte == kOpAck || byte == kOpError) ? 2 : 0;
            return std::nullopt;
        case 2:
            position = 3;
            return std::nullopt;
        case 3:
            if (reply_[1] == kOpAck) {
                const uint16_t acked = static_cast<uint16_t>(reply_[2] << 8 | byte);
                return acked == block ? TftpReply::Ack : TftpReply::OtherBlock;
            }
            position = 4;
            return std::nullopt;
        default:
            // The message of an ERROR packet: it ends with its zero byte, or where the reply
            // buffer ends.
            if (byte == 0 || position + 1 >= reply_.size()) return TftpReply::Error;
            ++position;
            return std::nullopt;
    }
}

bool TftpClient::sendError(uint16_t code) {
    const char* text = tftpErrorText(code);
    const size_t textLength = std::min(std::strlen(text), error_.size() - 5);
    putBe16(error_.data(), kOpError);
    putBe16(error_.data() + 2, code);
    std::memcpy(error_.data() + 4, text, textLength);
    error_[4 + textLength] = 0;
    return socket_->sendPacketToPort(socket_->sourcePort(), error_.data(), 4 + textLength + 1) == 1;
}

void TftpClient::status(uint8_t targetId, uint8_t kind, int percent) {
    if (owner_) owner_->showStatus(targetId, tftpProgressText(kind), 1, percent);
}

ErrorCode TftpClient::fail(uint8_t targetId, ErrorCode code, int progress) {
    if (owner_) owner_->reportLinkError(failureRecord(targetId, code, kProcUpdate, static_cast<uint32_t>(progress)));
    return code;
}

}  // namespace tarnwick
