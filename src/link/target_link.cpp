#include "link/target_link.h"

#include <cstring>

#include "platform/posix/command_channel.h"
#include "platform/posix/serial_port.h"

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

TargetLink::TargetLink(std::unique_ptr<Transport> transport, Clock& clock)
    : transport_(std::move(transport)), clock_(clock) {
    targetInfo.clear();
}

TargetLink::~TargetLink() {
    if (transport_) transport_->close();
    owner_ = nullptr;
}

bool TargetLink::setTrace(const std::string& path) {
    trace_.reset();
    if (path.empty()) return true;
    auto trace = std::make_unique<WireTrace>(path, clock_);
    if (!trace->isOpen()) return false;
    trace_ = std::move(trace);
    return true;
}

int TargetLink::openPort(uint8_t portIndex, uint8_t baudIndex) {
    auto* port = dynamic_cast<SerialPort*>(transport_.get());
    if (port == nullptr) return 0;
    int r = port->open(portIndex, baudIndex);
    if (trace_) {
        trace_->note("open port " + std::to_string(portIndex) + " (" + port->devicePath() + ") at " +
                     std::to_string(baudRateOf(baudIndex)) + " bit/s: " + (r ? "ok" : "failed"));
    }
    return r;
}

int TargetLink::closePort() {
    if (trace_) trace_->note("close port");
    return transport_->close();
}

int TargetLink::openChannel(const std::string& address, uint16_t port) {
    auto* channel = dynamic_cast<CommandChannel*>(transport_.get());
    if (channel == nullptr) return 0;
    int r = channel->connect(address, port);
    if (trace_) trace_->note("connect " + address + " port " + std::to_string(port) + ": " + (r ? "ok" : "failed"));
    return r;
}

void TargetLink::closeChannel() {
    auto* channel = dynamic_cast<CommandChannel*>(transport_.get());
    if (channel == nullptr || !channel->isOpen()) return;
    if (trace_) trace_->note("close connection to " + channel->address() + " port " + std::to_string(channel->port()));
    channel->close();
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

std::unique_ptr<TargetLink> makeSerialLink(Clock& clock) {
    return std::make_unique<TargetLink>(std::make_unique<SerialPort>(clock), clock);
}

std::unique_ptr<TargetLink> makeTcpLink(Clock& clock) {
    return std::make_unique<TargetLink>(std::make_unique<CommandChannel>(), clock);
}

}  // namespace tarnwick
