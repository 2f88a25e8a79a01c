#include "platform/tone.h"

namespace tarnwick {

namespace {
class SilentTone final : public Tone {
public:
    void play(uint32_t, uint32_t) override {}
};
}  // namespace

Tone& silentTone() {
    static SilentTone tone;
    return tone;
}

}  // namespace tarnwick
