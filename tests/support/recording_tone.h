// A tone that remembers what it was asked to play.
#pragma once
#include <utility>
#include <vector>

#include "platform/tone.h"

namespace tarnwick::test {

class RecordingTone : public Tone {
public:
    std::vector<std::pair<uint32_t, uint32_t>> played;
    void play(uint32_t hz, uint32_t ms) override { played.emplace_back(hz, ms); }
};

}  // namespace tarnwick::test
