#include "sim_tftp_server.h"

#include <poll.h>
#include <strings.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>

#include "sim_sockets.h"

namespace tarnwick::sim {

namespace {

constexpr int kStopCheckMs = 20;
constexpr size_t kBlock = 512;
constexpr size_t kDatagramMax = 4 + kBlock + 64;
constexpr size_t kFileMax = 32u * 1024u * 1024u;  // more than any module image

enum : uint8_t { kOpWriteRequest = 2, kOpData = 3, kOpAck = 4, kOpError = 5 };

uint16_t be16(const uint8_t* at) { return static_cast<uint16_t>(at[0] << 8 | at[1]); }

std::vector<uint8_t> ackBytes(uint16_t block) {
    return {0, kOpAck, static_cast<uint8_t>(block >> 8), static_cast<uint8_t>(block)};
}

bool samePeer(const sockaddr_in& a, const sockaddr_in& b) {
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

}  // namespace

SimTftpServer::SimTftpServer(TftpServerConfig config)
    : config_(std::move(config)), faultHits_(config_.faults.size(), 0) {}

SimTftpServer::~SimTftpServer() { stop(); }

bool SimTftpServer::start() {
    serverFd_ = bindUdp(config_.address, config_.port, error_);
    if (serverFd_ < 0) return false;
    port_ = boundPort(serverFd_);
    foreignPortFd_ = bindUdp(config_.address, 0, error_);
    foreignAddressFd_ = bindUdp(config_.foreignAddress, 0, error_);
    if (foreignPortFd_ < 0 || foreignAddressFd_ < 0) {
        stop();
        return false;
    }
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimTftpServer::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (int* fd : {&serverFd_, &transferFd_, &foreignPortFd_, &foreignAddressFd_}) closeFd(*fd);
}

std::vector<TftpDatagram> SimTftpServer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::map<std::string, std::vector<uint8_t>> SimTftpServer::files() const {
    std::lock_guard lock(mutex_);
    return files_;
}

void SimTftpServer::setFaults(std::vector<AckFault> faults) {
    std::lock_guard lock(mutex_);
    config_.faults = std::move(faults);
    faultHits_.assign(config_.faults.size(), 0);
}

void SimTftpServer::record(TftpSocketRole role, const uint8_t* bytes, size_t count) {
    std::lock_guard lock(mutex_);
    received_.push_back({role, std::vector<uint8_t>(bytes, bytes + count)});
}

// The four sockets in the order of TftpSocketRole.
int SimTftpServer::pollSockets(pollfd (&p)[4], int timeoutMs) const {
    const int fds[4] = {serverFd_, transferFd_, foreignPortFd_, foreignAddressFd_};
    for (int k = 0; k < 4; ++k) p[k] = pollfd{fds[k], POLLIN, 0};
    return poll(p, 4, timeoutMs);
}

void SimTftpServer::run() {
    const TftpSocketRole roles[] = {TftpSocketRole::Server, TftpSocketRole::Transfer, TftpSocketRole::ForeignPort,
                                    TftpSocketRole::ForeignAddress};
    uint8_t buffer[kDatagramMax];
    while (!stop_) {
        pollfd p[4];
        if (pollSockets(p, kStopCheckMs) <= 0) continue;
        busy_ = true;
        for (int k = 0; k < 4; ++k) {
            if ((p[k].revents & POLLIN) == 0) continue;
            sockaddr_in from{};
            socklen_t length = sizeof from;
            ssize_t n = recvfrom(p[k].fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (n <= 0) continue;
            record(roles[k], buffer, static_cast<size_t>(n));
            if (roles[k] == TftpSocketRole::Server) serveRequest(buffer, static_cast<size_t>(n), from);
            if (roles[k] == TftpSocketRole::Transfer) serveData(buffer, static_cast<size_t>(n), from);
        }
        busy_ = false;
    }
}

bool SimTftpServer::waitUntilIdle(int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Idle twice in a row: a datagram may be taken between the poll and the busy flag.
    for (int idleChecks = 0;;) {
        pollfd p[4];
        idleChecks = (pollSockets(p, 0) == 0 && !busy_) ? idleChecks + 1 : 0;
        if (idleChecks >= 2) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A write request "00 02 name 00 octet 00" starts a new transfer from a new port.
void SimTftpServer::serveRequest(const uint8_t* bytes, size_t count, const sockaddr_in& from) {
    const char* text = reinterpret_cast<const char*>(bytes + 2);
    const size_t textLength = count > 2 ? count - 2 : 0;
    const size_t nameLength = strnlen(text, textLength);
    const size_t modeLength = nameLength < textLength ? strnlen(text + nameLength + 1, textLength - nameLength - 1) : 0;
    const bool wellFormed = count >= 4 && be16(bytes) == kOpWriteRequest && nameLength > 0 &&
                            nameLength + 1 + modeLength < textLength;
    if (!wellFormed || strcasecmp(text + nameLength + 1, "octet") != 0) {
        sendError(serverFd_, from, 4, "Illegal TFTP operation.");
        return;
    }
    closeFd(transferFd_);
    transferFd_ = bindUdp(config_.address, 0, error_);
    if (transferFd_ < 0) return;
    client_ = from;
    name_.assign(text, nameLength);
    data_.clear();
    lastBlock_ = 0;
    complete_ = false;
    acknowledge(0);
}

// The next block is stored and acknowledged; a repeated one is acknowledged again.
void SimTftpServer::serveData(const uint8_t* bytes, size_t count, const sockaddr_in& from) {
    if (!samePeer(from, client_)) {
        sendError(transferFd_, from, 5, "Unknown transfer ID.");
        return;
    }
    if (count < 4 || be16(bytes) != kOpData) return;
    const uint16_t block = be16(bytes + 2);
    const size_t payload = std::min(count - 4, kBlock);
    if (block == lastBlock_) {
        acknowledge(block);
        return;
    }
    if (complete_ || block != static_cast<uint16_t>(lastBlock_ + 1)) return;
    if (data_.size() + payload > kFileMax) {
        sendError(transferFd_, from, 3, "Disk full or allocation exceeded.");
        return;
    }
    data_.insert(data_.end(), bytes + 4, bytes + 4 + payload);
    lastBlock_ = block;
    if (payload < kBlock) {
        complete_ = true;
        {
            std::lock_guard lock(mutex_);
            files_[name_] = data_;
        }
        if (handler_) handler_(name_, data_);
    }
    acknowledge(block);
}

std::optional<AckFault> SimTftpServer::takeFault(uint16_t block) {
    std::lock_guard lock(mutex_);
    for (size_t k = 0; k < config_.faults.size(); ++k) {
        const AckFault& f = config_.faults[k];
        if (f.block >= 0 && f.block != block) continue;
        if (f.count >= 0 && faultHits_[k] >= f.count) continue;
        ++faultHits_[k];
        return f;
    }
    return std::nullopt;
}

void SimTftpServer::acknowledge(uint16_t block) {
    const std::optional<AckFault> fault = takeFault(block);
    std::vector<uint8_t> ack = ackBytes(block);
    if (!fault) return sendFrom(transferFd_, ack);
    switch (fault->kind) {
        case AckFaultKind::Drop: return;
        case AckFaultKind::Duplicate:
            sendFrom(transferFd_, ack);
            return sendFrom(transferFd_, ack);
        case AckFaultKind::Split:
            sendFrom(transferFd_, {ack[0], ack[1]});
            return sendFrom(transferFd_, {ack[2], ack[3]});
        case AckFaultKind::WrongBlock: return sendFrom(transferFd_, ackBytes(static_cast<uint16_t>(block - 1)));
        case AckFaultKind::ForeignPort: return sendFrom(foreignPortFd_, ack);
        case AckFaultKind::ForeignAddress: return sendFrom(foreignAddressFd_, ack);
        case AckFaultKind::LeadingJunk:
            ack.insert(ack.begin(), 0x07);
            return sendFrom(transferFd_, ack);
        case AckFaultKind::Error: return sendError(transferFd_, client_, fault->errorCode, "Simulated failure.");
    }
}

void SimTftpServer::sendFrom(int fd, const std::vector<uint8_t>& bytes) {
    sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&client_), sizeof client_);
}

void SimTftpServer::sendError(int fd, const sockaddr_in& to, uint16_t code, const char* text) {
    std::vector<uint8_t> bytes = {0, kOpError, static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
    bytes.insert(bytes.end(), text, text + std::strlen(text) + 1);
    sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

}  // namespace tarnwick::sim
