// The network module's command dialogue: prompts, mode switches, erase and update commands.
#include <cstring>

#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetransmissions = 3;
constexpr uint32_t kPollsPerSecond = 100;
constexpr uint32_t kPromptSeconds = 5;
constexpr uint32_t kStoredSeconds = 60;
constexpr size_t kCollectMax = kFrameBufferSize - 1;  // the longest collection, 1034 characters
const char* const kProbe = "\r\n";
const char* const kOk = "ok";

bool isControl(uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

const char* awaitResultName(int result) {
    switch (result) {
        case kAwaitArrived: return "arrived";
        case kAwaitReadFailed: return "ReadFailed";
        case kAwaitSilence: return "TimedOut";
        default: return "TooLong";
    }
}

}  // namespace

struct TargetLink::ModuleCommand {
    const char* statusText;  // nullptr: no status line
    const char* prompt;      // the prompt of the wanted mode, probed first; nullptr: no probe
    const char* command;
    const char* answer;
    uint32_t answerSeconds;
    uint32_t processCode;    // 0: a failure is not reported
};

// Every byte restarts the allowed silence, and a control character starts a new line. A
// text of several characters counts only at the start of a line: a line that begins
// otherwise is skipped to its end, so that a reply such as "not ok" is never taken for "ok".
// A one-character prompt counts wherever it stands, as after a boot loader's name ("BL#").
// Lines may be of any length (an erase prints rows of progress dots); only a module that
// sends kDiscardLimit bytes without the text ends the wait early.
int TargetLink::awaitText(const std::string& expected, uint32_t silenceSeconds) {
    rx_.fill(0);
    rxLength_ = 0;
    const uint32_t polls = silenceSeconds * kPollsPerSecond;
    const bool anywhereInALine = expected.size() == 1;
    size_t position = 0;  // characters collected
    bool skipping = false;
    int result = kAwaitTooLong;
    for (uint32_t taken = 0; taken < kDiscardLimit && position < kCollectMax; ++taken) {
        if (waitForBytes(polls) == 0) {
            result = kAwaitSilence;
            break;
        }
        if (!transport_->read(&rxByte_, 1)) {
            result = kAwaitReadFailed;
            break;
        }
        if (trace_) trace_->receivedByte(rxByte_);
        if (isControl(rxByte_)) {
            std::memset(rx_.data(), 0, position);
            position = 0;
            skipping = false;
            continue;
        }
        if (skipping) continue;
        rx_[position++] = rxByte_;
        if (position < expected.size()) continue;
        if (std::memcmp(rx_.data(), expected.data(), position) == 0) {
            result = kAwaitArrived;
            break;
        }
        std::memset(rx_.data(), 0, position);
        position = 0;
        skipping = !anywhereInALine;
    }
    rxLength_ = position;
    if (trace_) trace_->receivedLine(lastLine(), awaitResultName(result));
    return result;
}

int TargetLink::runModuleCommand(uint8_t targetId, const ModuleCommand& c) {
    if (c.statusText) reportStatus(targetId, c.statusText, 0, 0);
    int code = 0;
    if (c.prompt) {
        if (!sendText(kProbe)) code = kErrComm;
        else if (awaitText(c.prompt, kPromptSeconds) == kAwaitArrived) return 0;  // already in that mode
    }
    for (int retransmissions = 0; code == 0; ++retransmissions) {
        if (!sendText(c.command)) {
            code = kErrComm;
            break;
        }
        const int r = awaitText(c.answer, c.answerSeconds);
        if (r == kAwaitArrived) return 0;
        if (retransmissions >= kMaxRetransmissions) code = r == kAwaitSilence ? kErrTimeout : kErrRetry;
    }
    if (c.processCode != 0) reportLinkError(targetId, code, c.processCode, 0);
    return code;
}

int TargetLink::startImage(uint8_t targetId) {
    static const ModuleCommand c{"Reboot(Application Mode)...", ">", "start image\r\n", kOk, 300, 0};
    return runModuleCommand(targetId, c);
}

int TargetLink::startBootloader(uint8_t targetId) {
    static const ModuleCommand c{"Reboot(Bootloader Mode)...", "#", "start bootloader\r\n", kOk, 300, kProcSwitch};
    return runModuleCommand(targetId, c);
}

int TargetLink::eraseImage(uint8_t targetId) {
    static const ModuleCommand c{"Erasing(Image)...", nullptr, "erase image\r\n", kOk, 30, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::eraseWebPage(uint8_t targetId) {
    static const ModuleCommand c{"Erasing(Web Page)...", nullptr, "erase webpage\r\n", kOk, 30, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::updateBootloader(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update bootloader\r\n", "start tftp client", 300, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::updateImage(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update image\r\n", "start tftp client", 300, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::updateImageCne(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update image cne\r\n", "start tftp client", 300, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::updateWebPage(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update webpage\r\n", "start tftp client", 300, kProcUpdate};
    return runModuleCommand(targetId, c);
}

int TargetLink::awaitOk(uint8_t targetId) {
    if (awaitText(kOk, kStoredSeconds) == kAwaitArrived) return 1;
    reportLinkError(targetId, kErrComm, kProcUpdate, 0);
    return 0;
}

}  // namespace tarnwick
