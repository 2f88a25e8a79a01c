// The one beep of the message boxes: a tone of a given frequency and length.
#pragma once
#include <cstdint>

namespace tarnwick {

class Tone {
public:
    virtual ~Tone() = default;
    // Plays synchronously. No sound device means no tone and no error.
    virtual void play(uint32_t hz, uint32_t ms) = 0;
};

// A tone that sounds nothing (console front end, tests).
Tone& silentTone();

// The platform's tone: ALSA in the window build, silent in the headless one. Each program
// links exactly one of the two.
Tone& platformTone();

}  // namespace tarnwick
