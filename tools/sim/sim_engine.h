// The simulated product's behaviour, free of any I/O: bytes from the PC in, answer
// bytes out. Normal mode speaks text lines, update mode speaks frames (and "RBNORM").
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "product_memory.h"
#include "sim_config.h"

namespace tarnwick::sim {

enum class ProductMode { Normal, Update };

class SimEngine {
public:
    explicit SimEngine(SimConfig config);

    // Takes bytes from the PC; returns what the product answers.
    std::vector<uint8_t> feed(const uint8_t* bytes, size_t count);

    // What happened, for tests: "text VIALL?", "frame C 01", "frame X 01>02", ...
    std::vector<std::string> events() const;
    // The events from index first on (an index past the end gives none).
    std::vector<std::string> eventsSince(size_t first) const;
    size_t eventCount() const;
    void clearEvents();
    // Forgets a half-received frame or line (a new connection starts clean).
    void resetInput();
    ProductMode mode() const;
    uint8_t activeTarget() const;
    std::string packageId() const;
    std::string slotVersion(int slot) const;
    std::vector<uint8_t> memory(uint8_t targetId, uint32_t start, uint32_t end) const;
    uint64_t bytesWritten(uint8_t targetId) const;
    // Messages (frames and text lines) taken from the PC so far.
    int messagesTaken() const;
    bool poweredOff() const;
    // Power comes back after a cut: memory as written, input forgotten, target 1 active, in
    // the mode the product was in (update mode once it had rebooted into it).
    void restorePower();
    // Changes the configuration (for example faults) while running.
    void configure(const SimConfig& config);

private:
    struct ReadSession {
        bool active = false;
        uint8_t targetId = 0;
        uint8_t mode = 0;
        uint32_t next = 0;  // address of the next frame
        uint32_t end = 0;
        std::vector<uint8_t> last;  // the frame last sent, for an 'N'
        bool lastWasFinal = false;
    };

    void takeByte(uint8_t b, std::vector<uint8_t>& out);
    // Counts a message taken; at the power cut its answer is dropped and the product goes.
    void messageTaken(size_t answerStart, std::vector<uint8_t>& out);
    void handleLine(const std::string& line, std::vector<uint8_t>& out);
    void handleFrame(std::vector<uint8_t>& out);
    bool applyFault(uint8_t letter, uint8_t targetId, std::vector<uint8_t>& out);
    void answer(uint8_t letter, uint8_t targetId, std::vector<uint8_t>& out, const std::vector<uint8_t>& params = {});
    void answerInfo(uint8_t targetId, uint32_t first, uint32_t second, std::vector<uint8_t>& out);
    void startRead(uint8_t targetId, uint8_t mode, uint32_t start, uint32_t end, std::vector<uint8_t>& out);
    void sendNextReadFrame(std::vector<uint8_t>& out);
    void infoLines(std::vector<uint8_t>& out) const;
    void event(std::string text) { events_.push_back(std::move(text)); }
    size_t expectedLength() const;

    mutable std::mutex mutex_;
    SimConfig config_;
    ProductMode mode_;
    uint8_t active_ = 1;
    ProductMemory memory_;
    std::vector<uint8_t> frame_;
    std::string line_;
    ReadSession read_;
    std::vector<int> faultSeen_;
    std::vector<std::string> events_;
    bool corruptNextAnswer_ = false;
    int messages_ = 0;
    bool poweredOff_ = false;
};

}  // namespace tarnwick::sim
