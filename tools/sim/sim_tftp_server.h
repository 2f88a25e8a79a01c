// The network module's TFTP server: takes write requests in octet mode on its address,
// one transfer at a time from a port of its own, stores each complete file and hands it on.
// Its acknowledgements can be spoilt on purpose (dropped, doubled, split, wrong, misdirected).
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <netinet/in.h>
#include <poll.h>

namespace tarnwick::sim {

enum class AckFaultKind {
    Drop,            // not sent
    Duplicate,       // sent twice
    Split,           // sent as two datagrams of two bytes
    WrongBlock,      // acknowledges the block before
    ForeignPort,     // sent from another port of the module's address
    ForeignAddress,  // sent from another address
    LeadingJunk,     // a 07 byte before the acknowledgement
    Error,           // an ERROR packet instead
};

// Hits the acknowledgements of one block (0: the write request's; -1: any), the first
// `count` of them (-1: all).
struct AckFault {
    AckFaultKind kind = AckFaultKind::Drop;
    int block = -1;
    int count = 1;
    uint16_t errorCode = 3;
};

struct TftpServerConfig {
    std::string address = "127.0.0.1";
    uint16_t port = 69;                         // 0: any free port (see port())
    std::string foreignAddress = "127.0.0.254"; // where ForeignAddress acknowledgements come from
    std::vector<AckFault> faults;
};

// Which socket of the server a datagram came in on.
enum class TftpSocketRole : char { Server = 's', Transfer = 't', ForeignPort = 'p', ForeignAddress = 'a' };

struct TftpDatagram {
    TftpSocketRole socket;
    std::vector<uint8_t> bytes;
};

class SimTftpServer {
public:
    using FileHandler = std::function<void(const std::string& name, const std::vector<uint8_t>& data)>;

    explicit SimTftpServer(TftpServerConfig config);
    ~SimTftpServer();
    SimTftpServer(const SimTftpServer&) = delete;
    SimTftpServer& operator=(const SimTftpServer&) = delete;

    // Called on the server's thread with every complete file; set before start().
    void onFile(FileHandler handler) { handler_ = std::move(handler); }
    bool start();
    void stop();
    const std::string& error() const { return error_; }
    uint16_t port() const { return port_; }

    // What came in so far, in order, and the files stored by name.
    std::vector<TftpDatagram> received() const;
    std::map<std::string, std::vector<uint8_t>> files() const;
    void setFaults(std::vector<AckFault> faults);
    // Waits (up to timeoutMs of real time) until every datagram that reached the server's
    // sockets has been served; false when some are still waiting.
    bool waitUntilIdle(int timeoutMs = 1000);

private:
    int pollSockets(pollfd (&p)[4], int timeoutMs) const;
    void run();
    void serveRequest(const uint8_t* bytes, size_t count, const sockaddr_in& from);
    void serveData(const uint8_t* bytes, size_t count, const sockaddr_in& from);
    void acknowledge(uint16_t block);
    std::optional<AckFault> takeFault(uint16_t block);
    void sendFrom(int fd, const std::vector<uint8_t>& bytes);
    void sendError(int fd, const sockaddr_in& to, uint16_t code, const char* text);
    void record(TftpSocketRole role, const uint8_t* bytes, size_t count);

    TftpServerConfig config_;
    std::vector<int> faultHits_;
    FileHandler handler_;
    std::string error_;
    uint16_t port_ = 0;
    int serverFd_ = -1;
    int transferFd_ = -1;
    int foreignPortFd_ = -1;
    int foreignAddressFd_ = -1;

    // The transfer in progress (or the last one, for late duplicates of its final block).
    sockaddr_in client_{};
    std::string name_;
    std::vector<uint8_t> data_;
    uint16_t lastBlock_ = 0;
    bool complete_ = false;

    mutable std::mutex mutex_;
    std::vector<TftpDatagram> received_;
    std::map<std::string, std::vector<uint8_t>> files_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> busy_{false};
    std::thread thread_;
};

}  // namespace tarnwick::sim
