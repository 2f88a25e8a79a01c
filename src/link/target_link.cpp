#include "link/target_link.h"

#include <cstring>

namespace tarnwick {

const char* receiveResultName(ReceiveResult result) {
    switch (result) {
        case ReceiveResult::Ack: return "Ack";
        case ReceiveResult::Nak: return "Nak";
        case ReceiveResult::ConnectReply: return "ConnectReply";
        case ReceiveResult::InfoReply: return "InfoReply";
        case ReceiveResult::ProductData: return "ProductData";
        case ReceiveResult::BlockData: return "BlockData";
        case ReceiveResult::ErrorReply: return "ErrorReply";
        case ReceiveResult::TimedOut: return "TimedOut";
        case ReceiveResult::BadFrame: return "BadFrame";
        case ReceiveResult::BadChecksum: return "BadChecksum";
        case ReceiveResult::ReadFailed: return "ReadFailed";
    }
    return "?";
}

TargetLink::TargetLink(Transport& transport, Clock& clock) : transport_(&transport), clock_(clock) {
    targetInfo.clear();
}

bool TargetLink::setTrace(const std::string& path) {
    trace_.reset();
    if (path.empty()) return true;
    auto trace = std::make_unique<WireTrace>(path, clock_);
    if (!trace->isOpen()) return false;
    trace_ = std::move(trace);
    return true;
}

void TargetLink::traceNote(const std::string& text) {
    if (trace_) trace_->note(text);
}

void TargetLink::reportStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) {
    if (owner_) owner_->showStatus(targetId, text, showProgress, percent);
}

void TargetLink::reportLinkError(uint8_t targetId, ErrorCode code, uint32_t processCode, uint32_t progress) {
    if (trace_) trace_->note("link error " + std::to_string(numberOf(code)) + " process " + std::to_string(processCode));
    if (owner_) owner_->reportLinkError(failureRecord(targetId, code, processCode, progress));
}

void TargetLink::reportCheckError(uint8_t targetId, ErrorCode code, uint32_t processCode, uint32_t progress) {
    if (trace_) trace_->note("check error " + std::to_string(numberOf(code)) + " process " + std::to_string(processCode));
    if (owner_) owner_->reportCheckError(failureRecord(targetId, code, processCode, progress));
}

void TargetLink::pumpMessages() {
    if (owner_) owner_->pumpMessages();
}

bool TargetLink::sendFrame(const std::vector<uint8_t>& frame) {
    if (trace_) trace_->sentFrame(frame.data(), frame.size());
    return transport_->write(frame.data(), frame.size()) == 1;
}

bool TargetLink::sendAck(uint8_t targetId) { return sendFrame(buildFrame(kLetterAck, targetId)); }

bool TargetLink::sendNak(uint8_t targetId) { return sendFrame(buildFrame(kLetterNak, targetId)); }

}  // namespace tarnwick
