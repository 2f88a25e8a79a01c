#include "platform/alsa/tone_samples.h"

#include <algorithm>
#include <cmath>

namespace tarnwick {

namespace {
constexpr double kAmplitude = 0.5 * 32767.0;
constexpr uint32_t kFadeMs = 5;
}  // namespace

std::vector<int16_t> toneSamples(uint32_t hz, uint32_t ms, uint32_t sampleRate) {
    const uint64_t count = static_cast<uint64_t>(sampleRate) * ms / 1000u;
    std::vector<int16_t> samples(static_cast<size_t>(count));
    const uint64_t fade = std::min<uint64_t>(count, static_cast<uint64_t>(sampleRate) * kFadeMs / 1000u);
    const double step = 2.0 * M_PI * static_cast<double>(hz) / static_cast<double>(sampleRate);
    for (uint64_t i = 0; i < count; ++i) {
        double gain = 1.0;
        const uint64_t left = count - i;
        if (left <= fade && fade > 0) gain = static_cast<double>(left - 1) / static_cast<double>(fade);
        const double value = kAmplitude * gain * std::sin(step * static_cast<double>(i));
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(value));
    }
    return samples;
}

}  // namespace tarnwick
