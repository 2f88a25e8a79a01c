// The network module's command dialogue: prompts, mode switches, erase and update commands.
#include <cstring>

#include "link/link_timeouts.h"
#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetransmissions = 3;
constexpr size_t kCollectMax = kFrameBufferSize - 1;  // the longest collection, 1034 characters
const char* const kProbe = "\r\n";
const char* const kOk = "ok";
const char* const kTftpReady = "start tftp client";

bool isControl(uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

const char* awaitResultName(AwaitResult result) {
    switch (result) {
        case AwaitResult::Arrived: return "arrived";
        case AwaitResult::ReadFailed: return "ReadFailed";
        case AwaitResult::Silence: return "TimedOut";
        case AwaitResult::TooLong: return "TooLong";
    }
    return "?";
}

}  // namespace

struct TargetLink::ModuleCommand {
    const char* statusText;  // nullptr: no status line
    const char* prompt;      // the prompt of the wanted mode, probed first; nullptr: no probe
    const char* command;
    const char* answer;
    std::chrono::seconds answerWait;
    uint32_t processCode;    // 0: a failure is not reported
};

// Every byte restarts the allowed silence, and a control character starts a new line. A
// text of several characters counts only at the start of a line: a line that begins
// otherwise is skipped to its end, so that a reply such as "not ok" is never taken for "ok".
// A one-character prompt counts wherever it stands, as after a boot loader's name ("BL#").
// Lines may be of any length (an erase prints rows of progress dots); only a module that
// sends kDiscardLimit bytes without the text ends the wait early.
AwaitResult TargetLink::awaitText(const std::string& expected, std::chrono::seconds silence) {
    rx_.fill(0);
    rxLength_ = 0;
    const uint32_t polls = pollsOf(silence);
    const bool anywhereInALine = expected.size() == 1;
    size_t position = 0;  // characters collected
    bool skipping = false;
    AwaitResult result = AwaitResult::TooLong;
    for (uint32_t taken = 0; taken < kDiscardLimit && position < kCollectMax; ++taken) {
        if (waitForBytes(polls) == 0) {
            result = AwaitResult::Silence;
            break;
        }
        if (!transport_->read(&rxByte_, 1)) {
            result = AwaitResult::ReadFailed;
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
            result = AwaitResult::Arrived;
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

ErrorCode TargetLink::runModuleCommand(uint8_t targetId, const ModuleCommand& c) {
    if (c.statusText) reportStatus(targetId, c.statusText, 0, 0);
    ErrorCode code = ErrorCode::None;
    if (c.prompt) {
        if (!sendText(kProbe)) {
            code = ErrorCode::Comm;
        } else if (awaitText(c.prompt, kModulePromptWait) == AwaitResult::Arrived) {
            return ErrorCode::None;  // already in that mode
        }
    }
    for (int retransmissions = 0; code == ErrorCode::None; ++retransmissions) {
        if (!sendText(c.command)) {
            code = ErrorCode::Comm;
            break;
        }
        const AwaitResult r = awaitText(c.answer, c.answerWait);
        if (r == AwaitResult::Arrived) return ErrorCode::None;
        if (retransmissions >= kMaxRetransmissions) code = r == AwaitResult::Silence ? ErrorCode::Timeout : ErrorCode::Retry;
    }
    if (c.processCode != 0) reportLinkError(targetId, code, c.processCode, 0);
    return code;
}

ErrorCode TargetLink::startImage(uint8_t targetId) {
    static const ModuleCommand c{"Reboot(Application Mode)...", ">", "start image\r\n", kOk, kModuleModeSwitchWait, 0};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::startBootloader(uint8_t targetId) {
    static const ModuleCommand c{"Reboot(Bootloader Mode)...", "#", "start bootloader\r\n", kOk, kModuleModeSwitchWait,
                                 kProcSwitch};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::eraseImage(uint8_t targetId) {
    static const ModuleCommand c{"Erasing(Image)...", nullptr, "erase image\r\n", kOk, kModuleEraseWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::eraseWebPage(uint8_t targetId) {
    static const ModuleCommand c{"Erasing(Web Page)...", nullptr, "erase webpage\r\n", kOk, kModuleEraseWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::updateBootloader(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update bootloader\r\n", kTftpReady, kModuleTftpReadyWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::updateImage(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update image\r\n", kTftpReady, kModuleTftpReadyWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::updateImageCne(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update image cne\r\n", kTftpReady, kModuleTftpReadyWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

ErrorCode TargetLink::updateWebPage(uint8_t targetId) {
    static const ModuleCommand c{nullptr, nullptr, "update webpage\r\n", kTftpReady, kModuleTftpReadyWait, kProcUpdate};
    return runModuleCommand(targetId, c);
}

bool TargetLink::awaitOk(uint8_t targetId) {
    if (awaitText(kOk, kModuleStoredWait) == AwaitResult::Arrived) return true;
    reportLinkError(targetId, ErrorCode::Comm, kProcUpdate, 0);
    return false;
}

}  // namespace tarnwick
