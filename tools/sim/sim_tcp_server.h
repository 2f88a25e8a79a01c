// The simulated product on the network: listens on a loopback address the caller
// chooses, on the text port (23: normal-mode text commands), the command port (5000:
// frames and text commands) and the update port (5000 unless another is given), and
// serves every connection from one product engine on a thread of its own. A power cut
// (SimConfig::powerCutAfter) ends every connection and refuses new ones until the
// engine's power is restored; the memory stays as written.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim_engine.h"

namespace tarnwick::sim {

struct TcpOptions {
    std::string address = "127.0.0.1";
    // Port 0 asks for any free port; the bound numbers are then read back from the server.
    uint16_t textPort = 23;
    uint16_t commandPort = 5000;
    uint16_t updatePort = 5000;  // the command port's listener when the numbers are equal
    // A change of mode ("RBUPDATE", "RBNORM") restarts the product: every connection is
    // closed, and for this long nothing is accepted (0: the listeners stay open).
    uint32_t restartDelayMs = 1000;
    uint64_t closeAfterBytes = 0;  // close each connection after that many bytes from the PC (0: never)
    bool refuseTextPort = false;   // accept nothing on the text port
};

class SimTcpServer {
public:
    SimTcpServer(SimConfig config, TcpOptions options);
    ~SimTcpServer();
    SimTcpServer(const SimTcpServer&) = delete;
    SimTcpServer& operator=(const SimTcpServer&) = delete;

    // Binds the listeners and starts serving; false with error() when a port cannot be bound.
    bool start();
    void stop();

    const std::string& error() const { return error_; }
    // EACCES: the ports below 1024 need privileges this process lacks.
    int errorNumber() const { return errno_; }
    SimEngine& engine() { return engine_; }
    const TcpOptions& options() const { return options_; }
    // What each connection carried, prefixed with its port: "23 open", "5000 text VIALL?",
    // "5000 frame C 01", "23 closed by PC", "5000 closed by product".
    std::vector<std::string> log() const;
    void clearLog();
    int restarts() const { return restarts_.load(); }
    bool restarting() const { return restarting_.load(); }
    // Power comes back (see SimEngine::restorePower); returns once the listeners are open again.
    void restorePower();
    // Connections ended by power cuts so far.
    int powerCuts() const { return powerCuts_.load(); }

private:
    enum class Role { Text, Command };
    struct Listener {
        int fd = -1;
        uint16_t* port;
        Role role;
    };
    struct Client {
        int fd = -1;
        uint16_t port = 0;
        Role role = Role::Command;
        uint64_t received = 0;
    };

    bool openListeners();
    void closeListeners();
    void run();
    void accept(const Listener& listener);
    void serve(Client& client, const uint8_t* bytes, size_t count);
    void drop(Client& client, const char* why);
    void restart();
    // Follows the engine's power: dark while it is off, listening again once it is back.
    void followPower();
    void note(uint16_t port, const std::string& text);

    SimEngine engine_;
    TcpOptions options_;
    std::vector<Listener> listeners_;
    std::vector<Client> clients_;
    std::chrono::steady_clock::time_point restartEnd_{};
    std::string error_;
    int errno_ = 0;
    mutable std::mutex logMutex_;
    std::vector<std::string> log_;
    std::atomic<int> restarts_{0};
    std::atomic<bool> restarting_{false};
    std::atomic<int> powerCuts_{0};
    std::atomic<bool> dark_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace tarnwick::sim
