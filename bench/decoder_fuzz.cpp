// libFuzzer target for the decoders that read the product's bytes (clang only, run by hand):
//   decoder_fuzz -max_total_time=60 CORPUS_DIR
// The first byte picks the decoder, the rest is what the product sent.
#include <deque>
#include <string>

#include "link/target_link.h"

namespace {

using namespace std::chrono_literals;

// The product's bytes, then nothing; virtual time, so every wait passes at once.
class FuzzTransport : public tarnwick::Transport {
public:
    FuzzTransport(const uint8_t* data, size_t size) : bytes_(data, data + size) {}
    int write(const uint8_t*, size_t) override { return 1; }
    int read(uint8_t* out, size_t count) override {
        if (bytes_.size() < count) return 0;
        for (size_t k = 0; k < count; ++k, bytes_.pop_front()) out[k] = bytes_.front();
        return 1;
    }
    uint32_t bytesWaiting() override { return static_cast<uint32_t>(bytes_.size()); }
    int purge() override { return 1; }
    int close() override { return 1; }
    NativeHandle waitHandle() const override { return kNoHandle; }

private:
    std::deque<uint8_t> bytes_;
};

class FuzzClock : public tarnwick::Clock {
public:
    uint64_t nowMs() override { return now_; }
    void sleepMs(uint32_t ms) override { now_ += ms; }
    void settleMs(uint32_t ms) override { now_ += ms; }
    bool waitReadable(NativeHandle, uint32_t ms) override { return now_ += ms, false; }

private:
    uint64_t now_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarnwick;
    if (size == 0) return 0;
    static std::vector<uint8_t> readBack(kReadBackBufferSize);
    FuzzClock clock;
    FuzzTransport transport(data + 1, size - 1);
    TargetLink link(transport, clock);
    switch (data[0] % 5) {
        case 0: {
            uint32_t position = kReadBackBufferSize - 1500;
            for (int frames = 0; frames < 64; ++frames) {
                const ReceiveResult r = link.receiveFrame(data[0] & 0x80 ? 0x11 : 1, 1s);
                if (link.rxLength() > kFrameBufferSize) __builtin_trap();
                if (r == ReceiveResult::TimedOut || r == ReceiveResult::ReadFailed) break;
                if (r == ReceiveResult::ProductData || r == ReceiveResult::BlockData) (void)link.storeData(readBack.data(), position);
                if (position > kReadBackBufferSize) __builtin_trap();
            }
            break;
        }
        case 1:
            (void)link.receiveInfoFrame(1, 1s);
            (void)link.infoAnswer(data[0] % (kInfoEntryMax + 1));
            break;
        case 2:
            if (link.readLine("RBSTART", 1s) == tarnwick::ErrorCode::None && link.lastLine().rfind("RBSTART", 0) != 0) __builtin_trap();
            break;
        case 3:
            if (link.awaitText("ok", 1s) == tarnwick::AwaitResult::Arrived && link.lastLine() != "ok") __builtin_trap();
            break;
        default:
            (void)link.readInfoLines();
            if (link.targetInfo.model.size() > kInfoTextMax) __builtin_trap();
            (void)link.versionsValid();
            break;
    }
    return 0;
}
