// A technician's log of the link: every byte sent and received with its time since the
// trace began, decoded frames and text lines. A link without a trace pays one test.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tarnwick {

// Received bytes are written out at the latest when this many are collected.
constexpr size_t kPendingLimit = 32;

class WireTrace {
public:
    // Opens (replaces) the file; isOpen() tells whether that worked.
    WireTrace(const std::string& path, Clock& clock);
    ~WireTrace();
    WireTrace(const WireTrace&) = delete;
    WireTrace& operator=(const WireTrace&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Bytes written to the product: a frame (decoded) or a text command (shown as text).
    void sentFrame(const uint8_t* bytes, size_t count);
    void sentText(const std::string& text);
    // Bytes as they are read, collected until a frame or line ends or the next wait.
    void receivedByte(uint8_t byte);
    void flushReceived();
    // The end of a receive: the frame or line as taken, and what the receiver made of it.
    void receivedFrame(const uint8_t* bytes, size_t count, const char* result);
    void receivedLine(const std::string& line, const char* result);
    void note(const std::string& text);

private:
    void line(const char* dir, const std::string& text, uint64_t atMs);
    uint64_t now() { return clock_.nowMs(); }

    Clock& clock_;
    std::FILE* file_ = nullptr;
    uint64_t startMs_ = 0;
    std::vector<uint8_t> pending_;
    uint64_t pendingAtMs_ = 0;
};

// "AA 43 01 EE": bytes as hexadecimal pairs.
std::string hexBytes(const uint8_t* bytes, size_t count);
// What a frame says: letter, target, and for data frames block state, length and address.
std::string describeFrame(const uint8_t* bytes, size_t count);
// Text with CR, LF and other control bytes shown as escapes.
std::string printableText(const std::string& text);

}  // namespace tarnwick
