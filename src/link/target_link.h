// The link to the product's system microcomputer: the frame protocol and the text
// commands of its normal mode, over the transport a route opens (serial port or TCP
// channel) and closes again between its steps; the link works on whichever it is given.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "link/frame.h"
#include "link/link_owner.h"
#include "link/target_info.h"
#include "link/transport.h"
#include "link/wire_trace.h"
#include "platform/clock.h"

namespace tarnwick {

// What a receiver made of the bytes it read.
enum class ReceiveResult : int {
    Ack = 1,
    Nak = 2,
    ConnectReply = 3,
    InfoReply = 4,
    ProductData = 5,
    BlockData = 6,
    ErrorReply = 7,
    TimedOut = 8,
    BadFrame = 9,
    BadChecksum = 10,
    ReadFailed = 11,
};
const char* receiveResultName(ReceiveResult result);

// The header of a received 'D' or 'P' frame.
struct FrameHeader {
    uint8_t letter = 0;
    uint8_t targetId = 0;
    uint8_t blockState = 0;
    uint16_t length = 0;
    uint32_t address = 0;
    uint32_t lastAddress = 0;  // address + length - 1
};

constexpr uint32_t kInfoEntryMax = 85;

// The decoded 'I' answer.
struct InfoRecord {
    uint32_t value = 0;
    uint16_t wordA = 0;
    uint16_t wordB = 0;
    std::array<uint16_t, kInfoEntryMax> entryWords{};
    std::array<uint32_t, kInfoEntryMax> entryValues{};
};

constexpr size_t kLineMax = kFrameBufferSize - 1;
// The most bytes one wait for an answer (a frame, a text line, a module reply) throws away
// before it gives up as silence would. It is there only so that a product or a module that
// never stops talking cannot hold a run forever: every byte still restarts the wait's
// silence, and 1 MiB is far above any answer (1035 bytes at most) and above any boot
// messages or progress output (rows of dots, tens of kilobytes of erase lines) before one.
constexpr uint32_t kDiscardLimit = 1u << 20;

// What a wait for a text of the network module ended with.
enum class AwaitResult : int {
    Arrived = 0,
    ReadFailed = 1,  // a receive failed or the connection was closed
    Silence = 4,     // the allowed silence passed
    TooLong = 5,     // 1034 characters collected, or kDiscardLimit bytes without the text
};

// The 10 ms polls of a wait; a wait above cap counts as kOverCapWait.
uint32_t waitPolls(std::chrono::seconds wait, std::chrono::seconds cap);

class TargetLink : public LinkErrorSource {
public:
    // The transport stays the caller's and outlives the link.
    TargetLink(Transport& transport, Clock& clock);
    TargetLink(const TargetLink&) = delete;
    TargetLink& operator=(const TargetLink&) = delete;

    void setOwner(LinkOwner* owner) { owner_ = owner; }
    // Starts a wire trace into path (replacing the file); "" stops it. False when the
    // file cannot be created.
    [[nodiscard]] bool setTrace(const std::string& path);
    // A line of the wire trace (nothing without one): what the route did to the transport.
    void traceNote(const std::string& text);
    Transport& transport() { return *transport_; }

    // --- owner callbacks (silent without an owner) ---
    void reportStatus(uint8_t targetId, const std::string& text, int showProgress, int percent);
    void reportLinkError(uint8_t targetId, ErrorCode code, uint32_t processCode, uint32_t progress);
    void reportCheckError(uint8_t targetId, ErrorCode code, uint32_t processCode, uint32_t progress);
    void pumpMessages();

    // --- frame primitives ---
    [[nodiscard]] ReceiveResult receiveFrame(uint8_t targetId, std::chrono::seconds timeout);
    [[nodiscard]] ReceiveResult receiveInfoFrame(uint8_t targetId, std::chrono::seconds timeout);
    // True when the transport took the frame.
    [[nodiscard]] bool sendAck(uint8_t targetId);
    [[nodiscard]] bool sendNak(uint8_t targetId);
    FrameHeader dataHeader() const;
    // Stores the data of the received frame at buffer[position..] (a 16 MiB buffer); false
    // for a frame that is not a data frame or has a block state above 3.
    [[nodiscard]] bool storeData(uint8_t* buffer, uint32_t& position);
    InfoRecord infoAnswer(uint32_t count) const;
    uint8_t lastErrorCode() const override;
    const TargetInfo* productInfo() const override { return &targetInfo; }

    // --- frame operations: each reports its own failure ---
    [[nodiscard]] bool connectTarget(uint8_t targetId, std::chrono::seconds timeout);
    [[nodiscard]] ErrorCode switchTarget(uint8_t fromId, uint8_t toId, uint8_t option);
    // Then infoAnswer(count).
    [[nodiscard]] bool requestInfo(uint8_t targetId, uint32_t first, uint32_t second, uint32_t count);
    [[nodiscard]] ErrorCode erase(uint8_t targetId, uint8_t mode, uint16_t versionNumber, uint32_t start,
                                  uint32_t end);
    [[nodiscard]] ErrorCode requestRead(uint8_t targetId, uint8_t mode, uint32_t start, uint32_t end);
    [[nodiscard]] ErrorCode writeData(uint8_t targetId, uint32_t start, uint32_t end, const uint8_t* data,
                                      uint32_t length);
    [[nodiscard]] bool eraseAndWrite(uint8_t targetId, uint16_t versionNumber, uint32_t start, uint32_t end,
                                     const uint8_t* data, uint32_t length);
    // buffer: 16 MiB; position receives the count of bytes stored.
    [[nodiscard]] bool readBack(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer,
                                uint32_t& position);

    // --- text commands of the normal mode: true when the product answered; none reports ---
    // True when the transport took the text.
    [[nodiscard]] bool sendText(const std::string& text);
    // None for a line, else Comm, Timeout or BadLine.
    [[nodiscard]] ErrorCode readLine(const std::string& prefix, std::chrono::seconds timeout);
    [[nodiscard]] bool enterUpdateMode();
    [[nodiscard]] bool enterNormalMode();
    [[nodiscard]] bool queryTargetInfo();
    [[nodiscard]] bool setPackage();
    // Puts "SYPKG " + the four characters of packageId + CR into packageCommand.
    void setPackageCommand(const std::string& packageId);
    // None, Timeout when a line timed out, Comm for any other failure.
    [[nodiscard]] ErrorCode readInfoLines();
    void parseInfoLine(int lineIndex, const std::string& prefix);
    [[nodiscard]] bool versionsValid() const { return targetInfo.versionsValid(); }
    // The text line held in the receive buffer.
    std::string lastLine() const;
    // The bytes of the last received frame (as far as it was read).
    const uint8_t* rxBuffer() const { return rx_.data(); }
    size_t rxLength() const { return rxLength_; }

    // --- network module commands on its command port ---
    // Reads the module's output until a line starts with expected (a one-character prompt
    // counts anywhere in a line).
    [[nodiscard]] AwaitResult awaitText(const std::string& expected, std::chrono::seconds silence);
    [[nodiscard]] ErrorCode startImage(uint8_t targetId);       // reports nothing
    [[nodiscard]] ErrorCode startBootloader(uint8_t targetId);  // reports with process code 1
    [[nodiscard]] ErrorCode eraseImage(uint8_t targetId);       // these six report with process code 5
    [[nodiscard]] ErrorCode eraseWebPage(uint8_t targetId);
    [[nodiscard]] ErrorCode updateBootloader(uint8_t targetId);
    [[nodiscard]] ErrorCode updateImage(uint8_t targetId);
    [[nodiscard]] ErrorCode updateImageCne(uint8_t targetId);
    [[nodiscard]] ErrorCode updateWebPage(uint8_t targetId);
    // True when the module reported the received file stored ("ok"), else false after reporting.
    [[nodiscard]] bool awaitOk(uint8_t targetId);

    TargetInfo targetInfo;
    uint16_t lastWriteSum = 0;
    std::array<char, 14> packageCommand{};

private:
    struct Command;
    ErrorCode runCommand(const Command& command);
    ReceiveResult receive(uint8_t targetId, uint32_t polls, bool infoTable);
    uint32_t waitForBytes(uint32_t polls);
    bool sendFrame(const std::vector<uint8_t>& frame);
    ErrorCode readTextLine(const std::string& prefix, std::chrono::seconds timeout);
    bool runTextCommand(const std::string& text, const std::string& answerPrefix, bool pumpBetween);
    struct ModuleCommand;
    ErrorCode runModuleCommand(uint8_t targetId, const ModuleCommand& command);
    ErrorCode readBackBlocks(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer, uint32_t& position,
                             int& percent);

    Transport* transport_;  // never null
    Clock& clock_;
    LinkOwner* owner_ = nullptr;
    std::unique_ptr<WireTrace> trace_;
    uint32_t pollCount_ = 0;
    uint8_t rxByte_ = 0;
    std::array<uint8_t, kFrameBufferSize> rx_{};
    size_t rxLength_ = 0;
};

}  // namespace tarnwick
