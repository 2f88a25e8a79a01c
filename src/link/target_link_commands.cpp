// The command frames: one pattern of send, wait, retry and report.
#include <cstdio>

#include "link/link_timeouts.h"
#include "link/target_facts.h"
#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetries = 3;

}  // namespace

struct TargetLink::Command {
    std::vector<uint8_t> frame;
    uint8_t answerId;
    bool infoReceiver;
    std::chrono::seconds answerWait;
    ReceiveResult success;
    uint32_t processCode;
    bool purge;          // purge before every attempt
    bool pumpBetween;    // let the window repaint between attempts
};

// Sends the command at most 4 times; None on success, else the reported error code.
ErrorCode TargetLink::runCommand(const Command& c) {
    ErrorCode code = ErrorCode::Retry;
    for (int retries = 0;; ++retries) {
        if (c.purge) transport_->purge();
        if (!sendFrame(c.frame)) {
            code = ErrorCode::Comm;
            break;
        }
        const ReceiveResult last =
            c.infoReceiver ? receiveInfoFrame(c.answerId, c.answerWait) : receiveFrame(c.answerId, c.answerWait);
        if (last == c.success) return ErrorCode::None;
        if (last == ReceiveResult::ErrorReply) {
            code = ErrorCode::ProductError;
            break;
        }
        if (retries >= kMaxRetries) {
            code = last == ReceiveResult::TimedOut ? ErrorCode::Timeout : ErrorCode::Retry;
            break;
        }
        if (c.pumpBetween) pumpMessages();
    }
    reportLinkError(c.answerId, code, c.processCode, 0);
    return code;
}

bool TargetLink::connectTarget(uint8_t targetId, std::chrono::seconds timeout) {
    bool purge = transport_->traits().purgeBeforeAttempt;
    Command c{buildFrame(kLetterConnect, targetId), targetId, false, timeout,
              ReceiveResult::ConnectReply, kProcConnect, purge, true};
    return runCommand(c) == ErrorCode::None;
}

ErrorCode TargetLink::switchTarget(uint8_t fromId, uint8_t toId, uint8_t option) {
    char text[64];
    std::snprintf(text, sizeof text, "Switching(ID:%02X -> ID:%02X)...", fromId, toId);
    reportStatus(fromId, text, 0, 0);
    Command c{buildFrame(kLetterSwitch, fromId, {toId, option}), fromId, false, kSwitchAnswerWait,
              ReceiveResult::Ack, kProcSwitch, false, false};
    return runCommand(c);
}

bool TargetLink::requestInfo(uint8_t targetId, uint32_t first, uint32_t second, uint32_t /*count*/) {
    std::vector<uint8_t> params;
    putBe32(params, first);
    putBe32(params, second);
    bool purge = transport_->traits().purgeBeforeAttempt;
    Command c{buildFrame(kLetterInfo, targetId, params), targetId, true, targetFacts(targetId).infoAnswerWait,
              ReceiveResult::InfoReply, kProcRequestInfo, purge, false};
    return runCommand(c) == ErrorCode::None;
}

ErrorCode TargetLink::erase(uint8_t targetId, uint8_t mode, uint16_t versionNumber, uint32_t start, uint32_t end) {
    std::vector<uint8_t> params{mode};
    putBe16(params, versionNumber);
    putBe32(params, start);
    putBe32(params, end);
    Command c{buildFrame(kLetterErase, targetId, params), targetId, false, transport_->traits().eraseAnswerWait,
              ReceiveResult::Ack, mode == 0 ? kProcUpdate : kProcSendBackup, false, false};
    return runCommand(c);
}

ErrorCode TargetLink::requestRead(uint8_t targetId, uint8_t mode, uint32_t start, uint32_t end) {
    std::vector<uint8_t> params{mode};
    putBe32(params, start);
    putBe32(params, end);
    Command c{buildFrame(kLetterRead, targetId, params), targetId, false, kReadRequestAnswerWait,
              ReceiveResult::Ack, mode == 0 ? kProcVerify : kProcReceiveBackup, false, false};
    return runCommand(c);
}

}  // namespace tarnwick
