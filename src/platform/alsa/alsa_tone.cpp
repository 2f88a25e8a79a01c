// The platform's tone: the samples of a sine played on ALSA's "default" device. Every
// failure (no device, device busy, no sound server) silently plays nothing.
#include <alsa/asoundlib.h>

#include "platform/alsa/tone_samples.h"
#include "platform/tone.h"

namespace tarnwick {

namespace {

// ALSA prints its failures to standard error by default; a missing device is no error here.
void quietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

constexpr unsigned kLatencyUs = 50000;
constexpr int kMaxRecoveries = 3;

class AlsaTone final : public Tone {
public:
    AlsaTone() { snd_lib_error_set_handler(quietAlsaErrors); }

    void play(uint32_t hz, uint32_t ms) override {
        const std::vector<int16_t> samples = toneSamples(hz, ms);
        if (samples.empty()) return;
        snd_pcm_t* pcm = nullptr;
        // Opened without blocking so that a busy device cannot hold the window up.
        if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return;
        if (snd_pcm_nonblock(pcm, 0) == 0 &&
            snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kToneSampleRate, 1,
                               kLatencyUs) == 0) {
            write(pcm, samples);
            snd_pcm_drain(pcm);
        }
        snd_pcm_close(pcm);
    }

private:
    static void write(snd_pcm_t* pcm, const std::vector<int16_t>& samples) {
        size_t done = 0;
        int recoveries = 0;
        while (done < samples.size()) {
            const snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + done, samples.size() - done);
            if (n >= 0) {
                done += static_cast<size_t>(n);
                continue;
            }
            if (++recoveries > kMaxRecoveries || snd_pcm_recover(pcm, static_cast<int>(n), 1) < 0) return;
        }
    }
};

}  // namespace

Tone& platformTone() {
    static AlsaTone tone;
    return tone;
}

}  // namespace tarnwick
