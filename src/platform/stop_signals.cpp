// What every platform's stop watcher shares: the first request is the one reported, and the
// listener hears each.
#include "platform/stop_signals.h"

namespace tarnwick {

StopSignals::StopSignals() : StopSignals(Listener()) {}

void StopSignals::take(int signal) {
    int none = 0;
    signal_.compare_exchange_strong(none, signal);  // the first request is the one reported
    if (onEach_) onEach_(signal);
}

}  // namespace tarnwick
