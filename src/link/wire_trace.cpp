#include "link/wire_trace.h"

#include <cinttypes>

#include "link/frame.h"

namespace tarnwick {

std::string hexBytes(const uint8_t* bytes, size_t count) {
    static const char* const kDigits = "0123456789ABCDEF";
    std::string out;
    out.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        if (i) out += ' ';
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

std::string describeFrame(const uint8_t* bytes, size_t count) {
    if (count < 3 || bytes[0] != kFrameStart) return "(no frame)";
    char text[96];
    uint8_t letter = bytes[1];
    char shown = (letter >= 0x20 && letter < 0x7F) ? static_cast<char>(letter) : '?';
    if ((letter == kLetterBlock || letter == kLetterProductData) && count >= kDataOffset) {
        std::snprintf(text, sizeof text, "'%c' id=%02X state=%u len=%u addr=%08" PRIX32, shown, bytes[2],
                      bytes[3], readBe16(bytes + 4), readBe32(bytes + 6));
    } else if (letter == kLetterError && count >= 4) {
        std::snprintf(text, sizeof text, "'%c' id=%02X code=%02X", shown, bytes[2], bytes[3]);
    } else if (letter == kLetterSwitch && count >= 5) {
        std::snprintf(text, sizeof text, "'%c' id=%02X to=%02X option=%u", shown, bytes[2], bytes[3], bytes[4]);
    } else {
        std::snprintf(text, sizeof text, "'%c' id=%02X", shown, bytes[2]);
    }
    return text;
}

std::string printableText(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

WireTrace::WireTrace(const std::string& path, Clock& clock) : clock_(clock) {
    file_ = std::fopen(path.c_str(), "w");
    startMs_ = now();
}

WireTrace::~WireTrace() {
    if (!file_) return;
    flushReceived();
    std::fclose(file_);
}

void WireTrace::line(const char* dir, const std::string& text, uint64_t atMs) {
    if (!file_) return;
    uint64_t rel = atMs - startMs_;
    std::fprintf(file_, "%6" PRIu64 ".%03u %s %s\n", rel / 1000, static_cast<unsigned>(rel % 1000), dir,
                 text.c_str());
}

void WireTrace::sentFrame(const uint8_t* bytes, size_t count) {
    flushReceived();
    uint64_t at = now();
    line("TX", hexBytes(bytes, count), at);
    line("  ", "frame " + describeFrame(bytes, count), at);
}

void WireTrace::sentText(const std::string& text) {
    flushReceived();
    uint64_t at = now();
    line("TX", hexBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size()), at);
    line("  ", "text \"" + printableText(text) + "\"", at);
}

void WireTrace::receivedByte(uint8_t byte) {
    if (pending_.empty()) pendingAtMs_ = now();
    pending_.push_back(byte);
    if (pending_.size() >= kPendingLimit) flushReceived();
}

void WireTrace::flushReceived() {
    if (pending_.empty()) return;
    line("RX", hexBytes(pending_.data(), pending_.size()), pendingAtMs_);
    pending_.clear();
}

void WireTrace::receivedFrame(const uint8_t* bytes, size_t count, const char* result) {
    flushReceived();
    line("  ", "frame " + describeFrame(bytes, count) + " -> " + result, now());
}

void WireTrace::receivedLine(const std::string& text, const char* result) {
    flushReceived();
    line("  ", "line \"" + printableText(text) + "\" -> " + result, now());
}

void WireTrace::note(const std::string& text) {
    flushReceived();
    line("--", text, now());
}

}  // namespace tarnwick
