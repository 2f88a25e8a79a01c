// The samples of the message-box tone: a sine of a given frequency and length.
#pragma once
#include <cstdint>
#include <vector>

namespace tarnwick {

constexpr uint32_t kToneSampleRate = 44100;

// Mono signed 16-bit samples of a hz sine lasting ms at sampleRate, starting at phase 0.
// The last few milliseconds fade out so that the tone ends without a click.
std::vector<int16_t> toneSamples(uint32_t hz, uint32_t ms, uint32_t sampleRate = kToneSampleRate);

}  // namespace tarnwick
