#include "monitor/monitor_view.h"

#include <algorithm>
#include <cstdio>

#include "station/station_slot.h"

namespace tarnwick {

namespace {

constexpr int kBarCells = 20;

std::string printable(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) c = '?';
    }
    return out;
}

constexpr const char* kSuccessWord = "SUCCESS";

std::string changedText(int64_t seconds) {
    if (seconds < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%llds ago", static_cast<long long>(seconds));
    return text;
}

std::string progressBar(int32_t percent) {
    const int shown = std::clamp(percent, 0, 100);
    const int filled = shown * kBarCells / 100;
    char tail[16];
    std::snprintf(tail, sizeof tail, "] %3d%%", static_cast<int>(percent));
    return "[" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(kBarCells - filled), '-') +
           tail;
}

std::string padded(const std::string& text, size_t width) {
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

// Length of the UTF-8 sequence at the start of `s`, 0 when it is not one.
size_t utf8Length(std::string_view s) {
    const auto at = [&s](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = at(0);
    size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    }
    if (n == 0 || s.size() < n || at(1) < low || at(1) > high) return 0;
    for (size_t i = 2; i < n; ++i) {
        if (at(i) < 0x80 || at(i) > 0xBF) return 0;
    }
    return n;
}

}  // namespace

std::string jsonString(std::string_view bytes) {
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80) {
            const size_t n = utf8Length(bytes.substr(i));
            out += n == 0 ? std::string("\\ufffd") : std::string(bytes.substr(i, n));
            i += n == 0 ? 1 : n;
            continue;
        }
        if (b == '"' || b == '\\') {
            out += '\\';
            out += static_cast<char>(b);
        } else if (b < 0x20 || b == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += static_cast<char>(b);
        }
        ++i;
    }
    return out + "\"";
}

const char* stationState(const SlotContent& slot, bool running) {
    if (running) return "running";
    const bool result = slot.label == kSuccessWord || slot.label == "ERROR";
    return slot.idle || result ? "idle" : "stopped";
}

std::string monitorTable(const uint8_t* area, const SlotWatches& watches) {
    constexpr size_t kBarWidth = 28;
    std::string out = "No  " + padded("State", kSlotLabelSize) + padded("Target", kSlotTargetSize) +
                      padded("Progress", kBarWidth) + padded("Station", 9) + "Changed\n";
    for (int n = 1; n <= static_cast<int>(kSlotCount); ++n) {
        const SlotContent slot = readSlot(stationSlot(area, n));
        const SlotWatch& watch = watches[static_cast<size_t>(n - 1)];
        char number[8];
        std::snprintf(number, sizeof number, "%02d  ", n);
        out += number;
        if (slot.idle && !watch.running) {
            out += "idle\n";
            continue;
        }
        const int32_t shown = slot.label == kSuccessWord ? 100 : slot.percent;
        out += padded(printable(slot.label), kSlotLabelSize) + padded(printable(slot.target), kSlotTargetSize) +
               padded(progressBar(shown), kBarWidth) + padded(stationState(slot, watch.running), 9) +
               changedText(watch.changedSeconds) + "\n";
        if (!slot.message.empty()) out += "    " + printable(slot.message) + "\n";
    }
    return out;
}

std::string monitorJson(const uint8_t* area, const SlotWatches& watches) {
    std::string out = "[\n";
    for (int n = 1; n <= static_cast<int>(kSlotCount); ++n) {
        const SlotContent slot = readSlot(stationSlot(area, n));
        const SlotWatch& watch = watches[static_cast<size_t>(n - 1)];
        out += "  {\"number\": " + std::to_string(n) + ", \"label\": " + jsonString(slot.label) +
               ", \"target\": " + jsonString(slot.target) + ", \"percent\": " + std::to_string(slot.percent) +
               ", \"error\": " + jsonString(slot.message) + ", \"idle\": " + (slot.idle ? "true" : "false") +
               ", \"running\": " + (watch.running ? "true" : "false") + ", \"state\": \"" +
               stationState(slot, watch.running) + "\", \"changed\": " +
               (watch.changedSeconds < 0 ? std::string("null") : std::to_string(watch.changedSeconds)) + "}" +
               (n < static_cast<int>(kSlotCount) ? ",\n" : "\n");
    }
    return out + "]\n";
}

}  // namespace tarnwick
