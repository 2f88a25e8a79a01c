// The platform's tone in a build without a sound library (the headless program, the tests).
#include "platform/tone.h"

namespace tarnwick {

Tone& platformTone() { return silentTone(); }

}  // namespace tarnwick
