// The link to the product's system microcomputer: the frame protocol and the text
// commands of its normal mode, over the transport a route opens (serial port or TCP
// channel) and closes again between its steps; the link works on whichever it is given.
#pragma once
#include <array>
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

// Text command results besides 0 and the link error codes.
constexpr int kErrLine = 0xEA;  // empty or too long prefix, or a line too long
constexpr size_t kLineMax = kFrameBufferSize - 1;
// The most bytes one wait for an answer (a frame, a text line, a module reply) throws away
// before it gives up as silence would. It is there only so that a product or a module that
// never stops talking cannot hold a run forever: every byte still restarts the wait's
// silence, and 1 MiB is far above any answer (1035 bytes at most) and above any boot
// messages or progress output (rows of dots, tens of kilobytes of erase lines) before one.
constexpr uint32_t kDiscardLimit = 1u << 20;

// Results of awaitText.
enum : int {
    kAwaitArrived = 0,
    kAwaitReadFailed = 1,  // a receive failed or the connection was closed
    kAwaitSilence = 4,     // the allowed silence passed
    kAwaitTooLong = 5,     // 1034 characters collected, or kDiscardLimit bytes without the text
};

// The 10 ms polls of a wait of timeoutSeconds; a wait above capSeconds counts as 60 s.
uint32_t waitPolls(uint32_t timeoutSeconds, uint32_t capSeconds);

class TargetLink : public LinkErrorSource {
public:
    // The transport stays the caller's and outlives the link.
    TargetLink(Transport& transport, Clock& clock);
    TargetLink(const TargetLink&) = delete;
    TargetLink& operator=(const TargetLink&) = delete;

    void setOwner(LinkOwner* owner) { owner_ = owner; }
    // Starts a wire trace into path (replacing the file); "" stops it. False when the
    // file cannot be created.
    bool setTrace(const std::string& path);
    // A line of the wire trace (nothing without one): what the route did to the transport.
    void traceNote(const std::string& text);
    Transport& transport() { return *transport_; }

    // --- owner callbacks (silent without an owner) ---
    void reportStatus(uint8_t targetId, const std::string& text, int showProgress, int percent);
    void reportLinkError(uint32_t targetId, uint32_t errorCode, uint32_t processCode, uint32_t progress);
    void reportCheckError(uint32_t targetId, uint32_t errorCode, uint32_t processCode, uint32_t progress);
    void pumpMessages();

    // --- frame primitives ---
    ReceiveResult receiveFrame(uint8_t targetId, uint32_t timeoutSeconds);
    ReceiveResult receiveInfoFrame(uint8_t targetId, uint32_t timeoutSeconds);
    int sendAck(uint8_t targetId);
    int sendNak(uint8_t targetId);
    FrameHeader dataHeader() const;
    // Stores the data of the received frame at buffer[position..] (a 16 MiB buffer).
    int storeData(uint8_t* buffer, uint32_t& position);
    InfoRecord infoAnswer(uint32_t count) const;
    uint8_t lastErrorCode() const override;
    const TargetInfo* productInfo() const override { return &targetInfo; }

    // --- frame operations ---
    int connectTarget(uint8_t targetId, uint32_t timeoutSeconds);  // 1/0
    int switchTarget(uint8_t fromId, uint8_t toId, uint8_t option);  // 0 or error code
    int requestInfo(uint8_t targetId, uint32_t first, uint32_t second, uint32_t count);  // 1/0
    int erase(uint8_t targetId, uint8_t mode, uint16_t versionNumber, uint32_t start, uint32_t end);
    int requestRead(uint8_t targetId, uint8_t mode, uint32_t start, uint32_t end);
    int writeData(uint8_t targetId, uint32_t start, uint32_t end, const uint8_t* data, uint32_t length);
    int eraseAndWrite(uint8_t targetId, uint16_t versionNumber, uint32_t start, uint32_t end,
                      const uint8_t* data, uint32_t length);  // 1/0
    // buffer: 16 MiB; position receives the count of bytes stored.
    int readBack(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer, uint32_t& position);  // 1/0

    // --- text commands of the normal mode ---
    int sendText(const std::string& text);
    int readLine(const std::string& prefix, uint32_t timeoutSeconds);
    int enterUpdateMode();
    int enterNormalMode();
    int queryTargetInfo();
    int setPackage();
    // Puts "SYPKG " + the four characters of packageId + CR into packageCommand.
    void setPackageCommand(const std::string& packageId);
    int readInfoLines();
    void parseInfoLine(int lineIndex, const std::string& prefix);
    int versionsValid() const { return targetInfo.versionsValid(); }
    // The text line held in the receive buffer.
    std::string lastLine() const;
    // The bytes of the last received frame (as far as it was read).
    const uint8_t* rxBuffer() const { return rx_.data(); }
    size_t rxLength() const { return rxLength_; }

    // --- network module commands on its command port (0 or a link error code) ---
    // Reads the module's output until a line starts with expected (a one-character prompt
    // counts anywhere in a line): one of the kAwait results.
    int awaitText(const std::string& expected, uint32_t silenceSeconds);
    int startImage(uint8_t targetId);       // reports nothing
    int startBootloader(uint8_t targetId);  // reports with process code 1
    int eraseImage(uint8_t targetId);       // these six report with process code 5
    int eraseWebPage(uint8_t targetId);
    int updateBootloader(uint8_t targetId);
    int updateImage(uint8_t targetId);
    int updateImageCne(uint8_t targetId);
    int updateWebPage(uint8_t targetId);
    // 1 when the module reported the received file stored ("ok"), else 0 after reporting.
    int awaitOk(uint8_t targetId);

    TargetInfo targetInfo;
    uint16_t lastWriteSum = 0;
    std::array<char, 14> packageCommand{};

private:
    struct Command;
    int runCommand(const Command& command);
    ReceiveResult receive(uint8_t targetId, uint32_t polls, bool infoTable);
    uint32_t waitForBytes(uint32_t polls);
    int sendFrame(const std::vector<uint8_t>& frame);
    int readTextLine(const std::string& prefix, uint32_t timeoutSeconds);
    int runTextCommand(const std::string& text, const std::string& answerPrefix, bool pumpBetween);
    struct ModuleCommand;
    int runModuleCommand(uint8_t targetId, const ModuleCommand& command);
    int readBackBlocks(uint8_t targetId, uint32_t start, uint32_t end, uint8_t* buffer, uint32_t& position,
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
