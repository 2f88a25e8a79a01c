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

int TargetLink::sendText(const std::string& text) {
    if (trace_) trace_->sentText(text);
    return transport_->write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string TargetLink::lastLine() const {
    return std::string(reinterpret_cast<const char*>(rx_.data()), strnlen(reinterpret_cast<const char*>(rx_.data()), rx_.size()));
}

int TargetLink::readLine(const std::string& prefix, std::chrono::seconds timeout) {
    int r = readTextLine(prefix, timeout);
    if (trace_) trace_->receivedLine(lastLine(), r == 0 ? "line" : r == kErrTimeout ? "TimedOut" : "failed");
    return r;
}

int TargetLink::readTextLine(const std::string& prefix, std::chrono::seconds timeout) {
    rx_.fill(0);
    rxLength_ = 0;
    if (prefix.empty() || prefix.size() > kLineMax) return kErrLine;
    const uint32_t polls = waitPolls(timeout, kLineWaitCap);
    size_t matched = 0;
    size_t stored = 0;
    uint32_t known = 0;
    DiscardBudget budget = discardBudget(polls);
    for (;;) {
        if (known == 0 && (known = waitForBytes(polls)) == 0) return kErrTimeout;
        if (!transport_->read(&rxByte_, 1)) return kErrComm;
        --known;
        if (trace_) trace_->receivedByte(rxByte_);
        if (matched < prefix.size()) {
            if (static_cast<char>(rxByte_) == prefix[matched]) {
                rx_[matched++] = rxByte_;
            } else {
                std::memset(rx_.data(), 0, matched);
                matched = 0;
                if (!discard(budget)) return kErrTimeout;
            }
            stored = matched;
            continue;
        }
        rx_[stored++] = rxByte_;
        rxLength_ = stored;
        if (rxByte_ == kCr) return 0;
        if (stored >= kLineMax) return kErrLine;
    }
}

int TargetLink::runTextCommand(const std::string& text, const std::string& answerPrefix, bool pumpBetween) {
    for (int retries = 0;; ++retries) {
        if (!sendText(text)) return 0;
        int r = answerPrefix.empty() ? readInfoLines() : readLine(answerPrefix, kLineAnswerWait);
        if (r == 0) return 1;
        if (retries >= kMaxRetries) return 0;
        if (pumpBetween) pumpMessages();
    }
}

int TargetLink::enterUpdateMode() { return runTextCommand("RBUPDATE\r", "RBSTART", false); }

int TargetLink::enterNormalMode() { return runTextCommand("RBNORM\r", "RBSTART", false); }

int TargetLink::queryTargetInfo() { return runTextCommand("VIALL?\r", "", false); }

int TargetLink::setPackage() {
    std::string command(packageCommand.data(), strnlen(packageCommand.data(), packageCommand.size()));
    return runTextCommand(command, "SYPKG ", true);
}

void TargetLink::setPackageCommand(const std::string& packageId) {
    std::string command = kPackageCommandTemplate;
    for (size_t k = 0; k < 4 && k < packageId.size(); ++k) command[6 + k] = packageId[k];
    packageCommand.fill(0);
    std::memcpy(packageCommand.data(), command.data(), std::min(command.size(), packageCommand.size() - 1));
}

int TargetLink::readInfoLines() {
    targetInfo.clear();
    if (transport_->traits().pauseBeforeInfoLines) clock_.sleepFor(kPauseBeforeInfoLines);
    int lineIndex = 0;
    auto take = [&](const char* prefix) -> int {
        int r = readLine(prefix, kLineAnswerWait);
        if (r != 0) return r == static_cast<int>(kErrTimeout) ? static_cast<int>(kErrTimeout) : static_cast<int>(kErrComm);
        parseInfoLine(lineIndex++, prefix);
        return 0;
    };
    int r = take("VIALL");
    if (r == 0) r = take("VIALLS/N.");
    for (int k = 0; r == 0 && k < targetInfo.componentLines(); ++k) r = take("VIALL");
    if (r == 0 && targetInfo.hasNetworkLines()) {
        for (const char* key : {"VIALLMAC:", "VIALLPRODUCTID:", "VIALLPACKAGEID:"}) {
            if (r == 0) r = take(key);
        }
    }
    if (r == 0) r = take("VIALLHWID:");
    if (r == 0) r = take("VIALLEND:");
    return r;
}

void TargetLink::parseInfoLine(int lineIndex, const std::string& prefix) {
    targetInfo.parseLine(lineIndex, prefix, lastLine());
}

}  // namespace tarnwick
