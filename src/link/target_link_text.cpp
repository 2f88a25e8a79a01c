// The text commands of the product's normal mode and the "VIALL?" answer.
#include <cstring>

#include "link/link_timeouts.h"
#include "link/target_link.h"

namespace tarnwick {

namespace {

constexpr int kMaxRetries = 3;
constexpr char kCr = '\r';
const char* const kPackageCommandTemplate = "SYPKG 0000\r";

}  // namespace

bool TargetLink::sendText(const std::string& text) {
    if (trace_) trace_->sentText(text);
    return transport_->write(reinterpret_cast<const uint8_t*>(text.data()), text.size()) == 1;
}

std::string TargetLink::lastLine() const {
    return std::string(reinterpret_cast<const char*>(rx_.data()), strnlen(reinterpret_cast<const char*>(rx_.data()), rx_.size()));
}

ErrorCode TargetLink::readLine(const std::string& prefix, std::chrono::seconds timeout) {
    const ErrorCode r = readTextLine(prefix, timeout);
    if (trace_) {
        trace_->receivedLine(lastLine(), r == ErrorCode::None ? "line" : r == ErrorCode::Timeout ? "TimedOut" : "failed");
    }
    return r;
}

// Lines with another start (a product's boot messages, noise) are skipped while the prefix
// is looked for; t bounds each silence, never the whole answer, so skipped lines spread
// over more than t still end in the answer. The prefix is matched byte by byte; a byte that
// breaks the match is dropped, not tried as the first character of a new match: the rule
// the product's answers are read by, kept.
ErrorCode TargetLink::readTextLine(const std::string& prefix, std::chrono::seconds timeout) {
    rx_.fill(0);
    rxLength_ = 0;
    if (prefix.empty() || prefix.size() > kLineMax) return ErrorCode::BadLine;
    const uint32_t polls = waitPolls(timeout, kLineWaitCap);
    size_t matched = 0;
    size_t stored = 0;
    uint32_t known = 0;
    uint32_t discardLeft = kDiscardLimit;
    for (;;) {
        if (known == 0 && (known = waitForBytes(polls)) == 0) return ErrorCode::Timeout;
        if (!transport_->read(&rxByte_, 1)) return ErrorCode::Comm;
        --known;
        if (trace_) trace_->receivedByte(rxByte_);
        if (matched < prefix.size()) {
            if (static_cast<char>(rxByte_) == prefix[matched]) {
                rx_[matched++] = rxByte_;
            } else {
                std::memset(rx_.data(), 0, matched);
                matched = 0;
                if (discardLeft-- == 0) return ErrorCode::Timeout;
            }
            stored = matched;
            continue;
        }
        rx_[stored++] = rxByte_;
        rxLength_ = stored;
        if (rxByte_ == kCr) return ErrorCode::None;
        if (stored >= kLineMax) return ErrorCode::BadLine;
    }
}

bool TargetLink::runTextCommand(const std::string& text, const std::string& answerPrefix, bool pumpBetween) {
    for (int retries = 0;; ++retries) {
        if (!sendText(text)) return false;
        const ErrorCode r = answerPrefix.empty() ? readInfoLines() : readLine(answerPrefix, kLineAnswerWait);
        if (r == ErrorCode::None) return true;
        if (retries >= kMaxRetries) return false;
        if (pumpBetween) pumpMessages();
    }
}

bool TargetLink::enterUpdateMode() { return runTextCommand("RBUPDATE\r", "RBSTART", false); }

bool TargetLink::enterNormalMode() { return runTextCommand("RBNORM\r", "RBSTART", false); }

bool TargetLink::queryTargetInfo() { return runTextCommand("VIALL?\r", "", false); }

bool TargetLink::setPackage() {
    std::string command(packageCommand.data(), strnlen(packageCommand.data(), packageCommand.size()));
    return runTextCommand(command, "SYPKG ", true);
}

void TargetLink::setPackageCommand(const std::string& packageId) {
    std::string command = kPackageCommandTemplate;
    for (size_t k = 0; k < 4 && k < packageId.size(); ++k) command[6 + k] = packageId[k];
    packageCommand.fill(0);
    std::memcpy(packageCommand.data(), command.data(), std::min(command.size(), packageCommand.size() - 1));
}

ErrorCode TargetLink::readInfoLines() {
    targetInfo.clear();
    if (transport_->traits().pauseBeforeInfoLines) clock_.sleepFor(kPauseBeforeInfoLines);
    int lineIndex = 0;
    auto take = [&](const char* prefix) {
        const ErrorCode r = readLine(prefix, kLineAnswerWait);
        if (r != ErrorCode::None) return r == ErrorCode::Timeout ? ErrorCode::Timeout : ErrorCode::Comm;
        parseInfoLine(lineIndex++, prefix);
        return ErrorCode::None;
    };
    ErrorCode r = take("VIALL");
    if (r == ErrorCode::None) r = take("VIALLS/N.");
    for (int k = 0; r == ErrorCode::None && k < targetInfo.componentLines(); ++k) r = take("VIALL");
    if (r == ErrorCode::None && targetInfo.hasNetworkLines()) {
        for (const char* key : {"VIALLMAC:", "VIALLPRODUCTID:", "VIALLPACKAGEID:"}) {
            if (r == ErrorCode::None) r = take(key);
        }
    }
    if (r == ErrorCode::None) r = take("VIALLHWID:");
    if (r == ErrorCode::None) r = take("VIALLEND:");
    return r;
}

void TargetLink::parseInfoLine(int lineIndex, const std::string& prefix) {
    targetInfo.parseLine(lineIndex, prefix, lastLine());
}

}  // namespace tarnwick
