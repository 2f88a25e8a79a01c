// Runs the simulated product on a descriptor (its own pseudo-terminal, or a device
// path it is given), on a thread of its own.
#pragma once
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "pty_pair.h"
#include "sim_engine.h"

namespace tarnwick::sim {

class SimServer {
public:
    explicit SimServer(SimConfig config);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens a pseudo-terminal and starts serving; the program opens slavePath().
    bool startPty();
    // Serves on an existing device (opened raw, read and write).
    bool startOnDevice(const std::string& path);
    void stop();

    const std::string& slavePath() const { return path_; }
    const std::string& error() const { return error_; }
    SimEngine& engine() { return engine_; }
    // Waits (up to timeoutMs of real time) until the product has taken every byte the
    // program wrote and answered it: tests call it before they look at events() of a
    // product that does not answer. False when bytes are still waiting.
    bool waitUntilIdle(int timeoutMs = 1000);
    // Bytes taken from the PC so far.
    uint64_t bytesReceived() const { return received_.load(); }

private:
    void run();
    void start();
    void serveChunk(const uint8_t* bytes, size_t count);
    bool writeAll(const std::vector<uint8_t>& bytes);
    size_t takeInput(uint8_t* buffer, size_t capacity);

    SimEngine engine_;
    uint32_t pace_;
    PtyPair pty_;
    int fd_ = -1;
    bool ownFd_ = false;
    std::string path_;
    std::string error_;
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> received_{0};
    std::atomic<bool> busy_{false};
    std::chrono::steady_clock::time_point lineFree_{};
    bool lineBusy_ = false;
    std::thread thread_;
};

}  // namespace tarnwick::sim
