// The product's network module: text commands on TCP port 5001 with the ">" (application)
// and "#" (boot loader) prompts, restarts between the two, and a TFTP server that takes
// the firmware files and reports each stored file with "ok".
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "sim_tftp_server.h"

namespace tarnwick::sim {

struct NetModuleConfig {
    std::string address = "127.0.0.1";
    uint16_t commandPort = 5001;
    uint16_t tftpPort = 69;        // 0: any free port
    // Restart into the boot loader and into the application (the real module takes up to
    // 90 s and 150 s); 0 is back at once, for runs whose waits pass on a virtual clock.
    uint32_t bootRestartMs = 100;
    uint32_t appRestartMs = 100;
    bool startInBootloader = false;
    bool staysInBootloader = false;  // "start image" is answered, but the module comes back as "#"
    bool neverStoredOk = false;      // no "ok" after a received file
    std::set<std::string> unanswered;  // command lines (without CR LF) that get no answer; "" the probe
    std::string foreignAddress = "127.0.0.254";
    std::vector<AckFault> ackFaults;
    // A power cut after this many command lines (the last one unanswered): the connection and
    // the command port go until restorePower(); stored images stay. -1: none.
    int powerCutAfter = -1;
};

enum class ModuleMode { Application, Bootloader, Restarting };

class SimNetModule {
public:
    explicit SimNetModule(NetModuleConfig config);
    ~SimNetModule();
    SimNetModule(const SimNetModule&) = delete;
    SimNetModule& operator=(const SimNetModule&) = delete;

    bool start();
    void stop();
    const std::string& error() const { return error_; }

    ModuleMode mode() const;
    // "command start bootloader", "restart bootloader", "stored image 4096", ...
    std::vector<std::string> events() const;
    // The last image stored per update kind ("bootloader", "image", "image cne", "webpage").
    std::map<std::string, std::vector<uint8_t>> images() const;
    SimTftpServer& tftp() { return tftp_; }
    bool poweredOff() const;
    // Back in the mode it was in (the one it was restarting into), listening again.
    void restorePower();

private:
    using SteadyClock = std::chrono::steady_clock;

    void run();
    bool listen();
    void accept();
    void readCommands();
    std::string answer(const std::string& line);
    void restartInto(ModuleMode next, uint32_t delayMs, const std::string& lastReply);
    void finishRestartWhenDue();
    void fileStored(const std::vector<uint8_t>& data);
    void say(const std::string& text);
    void powerCut();
    void event(const std::string& text);

    NetModuleConfig config_;
    SimTftpServer tftp_;
    std::string error_;
    int listenFd_ = -1;
    int connectionFd_ = -1;
    std::string line_;

    mutable std::mutex mutex_;
    ModuleMode mode_;
    ModuleMode nextMode_ = ModuleMode::Application;
    bool restartDue_ = false;
    SteadyClock::time_point restartEnd_{};
    std::string pendingKind_;  // the update command waiting for its file
    bool storedOkDue_ = false;
    int commands_ = 0;
    bool poweredOff_ = false;
    std::vector<std::string> events_;
    std::map<std::string, std::vector<uint8_t>> images_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace tarnwick::sim
