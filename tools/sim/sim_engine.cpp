#include "sim_engine.h"

#include <cstdio>

#include "link/frame.h"
#include "link/target_facts.h"
#include "link/target_info.h"
#include "package/crc32_words.h"

namespace tarnwick::sim {

namespace {

constexpr size_t kLineCap = 2048;
constexpr uint32_t kStatusOk = 0x4F4B0000u;
constexpr uint32_t kStatusNg = 0x4E470000u;

// Frames from the PC: their length once the letter is known (data frames: the
// largest possible until the length field is in).
size_t lengthOfPcFrame(uint8_t letter) {
    switch (letter) {
        case kLetterSwitch: return 6;
        case kLetterInfo: return 12;
        case kLetterErase: return 15;
        case kLetterRead: return 13;
        case kLetterBlock: return kDataFrameOverhead + 0xFFFF;
        default: return 4;
    }
}

std::string hex2(uint8_t v) {
    char t[4];
    std::snprintf(t, sizeof t, "%02X", v);
    return t;
}

}  // namespace

SimEngine::SimEngine(SimConfig config)
    : config_(std::move(config)), mode_(config_.startInUpdateMode ? ProductMode::Update : ProductMode::Normal) {
    faultSeen_.assign(config_.faults.size(), 0);
}

void SimEngine::configure(const SimConfig& config) {
    std::lock_guard lock(mutex_);
    config_ = config;
    faultSeen_.assign(config_.faults.size(), 0);
}

std::vector<uint8_t> SimEngine::feed(const uint8_t* bytes, size_t count) {
    std::lock_guard lock(mutex_);
    std::vector<uint8_t> out;
    for (size_t k = 0; k < count && !poweredOff_; ++k) takeByte(bytes[k], out);
    if (config_.silent) out.clear();
    return out;
}

size_t SimEngine::expectedLength() const {
    if (frame_.size() < 2) return 4;
    if (frame_[1] == kLetterBlock && frame_.size() >= 6) return kDataFrameOverhead + readBe16(frame_.data() + 4);
    return lengthOfPcFrame(frame_[1]);
}

void SimEngine::takeByte(uint8_t b, std::vector<uint8_t>& out) {
    if (!frame_.empty()) {
        frame_.push_back(b);
        if (frame_.size() >= expectedLength()) {
            const size_t answerStart = out.size();
            handleFrame(out);
            frame_.clear();
            messageTaken(answerStart, out);
        }
        return;
    }
    if (mode_ == ProductMode::Update && b == kFrameStart && line_.empty()) {
        frame_.push_back(b);
        return;
    }
    if (b == '\r') {
        std::string line = line_;
        line_.clear();
        const size_t answerStart = out.size();
        handleLine(line, out);
        messageTaken(answerStart, out);
        return;
    }
    // Commands are printable text: a control byte or the stray bytes of a frame sent in
    // normal mode start the line afresh, as do blanks before a command.
    if (b < 0x20 || b >= 0x7F) {
        line_.clear();
        return;
    }
    if (b == ' ' && line_.empty()) return;
    if (line_.size() < kLineCap) line_.push_back(static_cast<char>(b));
}

void SimEngine::handleLine(const std::string& line, std::vector<uint8_t>& out) {
    event("text " + line);
    auto say = [&out](const std::string& text) { out.insert(out.end(), text.begin(), text.end()); };
    if (line == "RBNORM") {
        if (mode_ == ProductMode::Update) {
            say("RBSTART\r");
            mode_ = ProductMode::Normal;
            active_ = 1;
        }
        return;
    }
    if (mode_ != ProductMode::Normal) return;
    if (line == "VIALL?") {
        if (!config_.ignoreTextQuery) infoLines(out);
    } else if (line == "RBUPDATE") {
        say("RBSTART\r");
        mode_ = ProductMode::Update;
        active_ = 1;
    } else if (line.rfind("SYPKG ", 0) == 0 && line.size() >= 10) {
        config_.packageId = line.substr(6, 4);
        say("SYPKG " + config_.packageId + "\r");
    }
}

void SimEngine::infoLines(std::vector<uint8_t>& out) const {
    std::string text = "VIALL" + config_.model + "\r";
    text += "VIALLS/N." + config_.serialNumber + "\r";
    const bool shortAnswer = config_.model == "MXQ4410RT";
    const int slots = shortAnswer ? 4 : 8;
    for (int k = 0; k < slots; ++k) text += "VIALL" + config_.slotNames[k] + ":" + config_.slotVersions[k] + "\r";
    if (!shortAnswer) {
        text += "VIALLMAC:" + config_.macAddress + "\r";
        text += "VIALLPRODUCTID:" + config_.productId + "\r";
        text += "VIALLPACKAGEID:" + config_.packageId + "\r";
    }
    text += "VIALLHWID:" + config_.hardwareId + "\r";
    text += "VIALLEND:\r";
    out.insert(out.end(), text.begin(), text.end());
}

void SimEngine::answer(uint8_t letter, uint8_t targetId, std::vector<uint8_t>& out, const std::vector<uint8_t>& params) {
    auto f = buildFrame(letter, targetId, params);
    if (corruptNextAnswer_) {
        f.back() = static_cast<uint8_t>(f.back() + 1);
        corruptNextAnswer_ = false;
    }
    out.insert(out.end(), f.begin(), f.end());
}

// True when a scripted fault took the frame (and wrote its answer, if any).
bool SimEngine::applyFault(uint8_t letter, uint8_t targetId, std::vector<uint8_t>& out) {
    for (size_t k = 0; k < config_.faults.size(); ++k) {
        const FrameFault& f = config_.faults[k];
        if (f.letter != 0 && static_cast<uint8_t>(f.letter) != letter) continue;
        if (f.targetId != 0xFF && f.targetId != targetId) continue;
        int seen = faultSeen_[k]++;
        if (seen < f.skip || seen >= f.skip + f.count) continue;
        event("fault " + std::string(1, static_cast<char>(letter)) + " " + hex2(targetId));
        switch (f.kind) {
            case FaultKind::Silence: return true;
            case FaultKind::Nak: answer(kLetterNak, targetId, out); return true;
            case FaultKind::Error: answer(kLetterError, targetId, out, {f.errorCode}); return true;
            case FaultKind::BadChecksum: corruptNextAnswer_ = true; return false;
        }
    }
    return false;
}

void SimEngine::handleFrame(std::vector<uint8_t>& out) {
    const uint8_t letter = frame_[1];
    const uint8_t id = frame_.size() > 2 ? frame_[2] : 0;
    std::string name(1, static_cast<char>(letter));
    event("frame " + name + " " + hex2(id) + (letter == kLetterSwitch ? ">" + hex2(frame_[3]) : ""));
    if (config_.absentTargets.count(id)) return;
    if (applyFault(letter, id, out)) return;
    if (frame_.back() != frameChecksum(frame_.data(), frame_.size() - 1)) {
        if (letter != kLetterAck && letter != kLetterNak) answer(kLetterNak, id, out);
        return;
    }
    const uint8_t* p = frame_.data() + 3;
    switch (letter) {
        case kLetterConnect:
            answer(kLetterConnect, id, out);
            break;
        case kLetterSwitch:
            if (config_.absentTargets.count(p[0])) {
                answer(kLetterNak, id, out);
                break;
            }
            answer(kLetterAck, id, out);
            active_ = p[0];
            break;
        case kLetterInfo:
            answerInfo(id, readBe32(p), readBe32(p + 4), out);
            break;
        case kLetterErase: {
            memory_.erase(id, readBe32(p + 3), readBe32(p + 7));
            if (config_.versionFromErase) {
                for (size_t k = 0; k < 8; ++k) {
                    if (tarnwick::kSlotIds[k] != id) continue;
                    char v[8];
                    std::snprintf(v, sizeof v, "%04X", readBe16(p + 1));
                    config_.slotVersions[k] = v;
                    break;
                }
            }
            answer(kLetterAck, id, out);
            break;
        }
        case kLetterBlock:
            memory_.write(id, readBe32(p + 3), p + 7, readBe16(p + 1));
            answer(kLetterAck, id, out);
            break;
        case kLetterRead:
            answer(kLetterAck, id, out);
            startRead(id, p[0], readBe32(p + 1), readBe32(p + 5), out);
            break;
        case kLetterAck:
            if (read_.active && read_.targetId == id) sendNextReadFrame(out);
            break;
        case kLetterNak:
            if (read_.active && read_.targetId == id) out.insert(out.end(), read_.last.begin(), read_.last.end());
            break;
        default:
            answer(kLetterNak, id, out);
            break;
    }
}

void SimEngine::answerInfo(uint8_t targetId, uint32_t first, uint32_t second, std::vector<uint8_t>& out) {
    uint32_t entry = 0;
    auto kind = config_.infoKinds.count(targetId) ? config_.infoKinds.at(targetId) : InfoKind::ByteSum;
    std::vector<uint8_t> range = (first == 0 && second == 0) ? std::vector<uint8_t>{} : memory_.read(targetId, first, second);
    switch (kind) {
        case InfoKind::ByteSum:
            for (uint8_t b : range) entry += b;
            break;
        case InfoKind::Crc32Words:
            Crc32Words(range.data(), static_cast<uint32_t>(range.size()), entry);
            break;
        case InfoKind::StatusWord:
            entry = config_.statusFailed.count(targetId) ? kStatusNg : kStatusOk;
            break;
    }
    if (config_.badComponentChecksum.count(targetId)) entry += 1;
    std::vector<uint8_t> params;
    putBe32(params, config_.modelCode);
    putBe16(params, 0);  // wordA
    putBe16(params, 0);  // entry word
    putBe16(params, 0);  // wordB
    putBe32(params, entry);
    answer(kLetterInfo, targetId, out, params);
}

void SimEngine::startRead(uint8_t targetId, uint8_t mode, uint32_t start, uint32_t end, std::vector<uint8_t>& out) {
    read_ = ReadSession{};
    read_.active = true;
    read_.targetId = targetId;
    read_.mode = mode;
    read_.next = start;
    read_.end = end < start ? start : end;
    sendNextReadFrame(out);
}

// Sends the next data frame of the read-back ('P' for firmware, 'D' for other modes);
// the acknowledgement of the final one ends the session.
void SimEngine::sendNextReadFrame(std::vector<uint8_t>& out) {
    if (read_.lastWasFinal) {
        read_ = ReadSession{};
        return;
    }
    const uint32_t block = targetFacts(read_.targetId).blockSize;
    const bool first = read_.last.empty();
    uint64_t remaining = static_cast<uint64_t>(read_.end) - read_.next + 1;
    uint32_t n = static_cast<uint32_t>(remaining < block ? remaining : block);
    bool final = remaining <= block;
    uint8_t state = first ? (final ? kBlockOnly : kBlockFirst) : (final ? kBlockLast : kBlockMiddle);
    auto data = memory_.read(read_.targetId, read_.next, read_.next + n - 1);
    if (first && config_.corruptReadBack.count(read_.targetId) && !data.empty()) data[0] = static_cast<uint8_t>(~data[0]);
    uint8_t letter = read_.mode == 0 ? kLetterBlock : kLetterProductData;
    read_.last = buildDataFrame(letter, read_.targetId, state, read_.next, data.data(), static_cast<uint16_t>(n));
    read_.lastWasFinal = final;
    read_.next += n;
    out.insert(out.end(), read_.last.begin(), read_.last.end());
}

std::vector<std::string> SimEngine::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<std::string> SimEngine::eventsSince(size_t first) const {
    std::lock_guard lock(mutex_);
    if (first >= events_.size()) return {};
    return {events_.begin() + static_cast<std::ptrdiff_t>(first), events_.end()};
}

size_t SimEngine::eventCount() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

void SimEngine::messageTaken(size_t answerStart, std::vector<uint8_t>& out) {
    if (++messages_ != config_.powerCutAfter) return;
    out.resize(answerStart);
    poweredOff_ = true;
    event("power cut");
}

int SimEngine::messagesTaken() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

bool SimEngine::poweredOff() const {
    std::lock_guard lock(mutex_);
    return poweredOff_;
}

void SimEngine::restorePower() {
    std::lock_guard lock(mutex_);
    poweredOff_ = false;
    config_.powerCutAfter = -1;
    frame_.clear();
    line_.clear();
    read_ = ReadSession{};
    active_ = 1;
}

void SimEngine::resetInput() {
    std::lock_guard lock(mutex_);
    frame_.clear();
    line_.clear();
}

void SimEngine::clearEvents() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

ProductMode SimEngine::mode() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

uint8_t SimEngine::activeTarget() const {
    std::lock_guard lock(mutex_);
    return active_;
}

std::string SimEngine::packageId() const {
    std::lock_guard lock(mutex_);
    return config_.packageId;
}

std::string SimEngine::slotVersion(int slot) const {
    std::lock_guard lock(mutex_);
    return slot >= 0 && slot < 8 ? config_.slotVersions[static_cast<size_t>(slot)] : "";
}

std::vector<uint8_t> SimEngine::memory(uint8_t targetId, uint32_t start, uint32_t end) const {
    std::lock_guard lock(mutex_);
    return memory_.read(targetId, start, end);
}

uint64_t SimEngine::bytesWritten(uint8_t targetId) const {
    std::lock_guard lock(mutex_);
    return memory_.bytesWritten(targetId);
}

}  // namespace tarnwick::sim
