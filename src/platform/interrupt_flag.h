// Ctrl-C for the length of a live view (the monitor): it only sets a flag the view's loop
// looks at, and the earlier handling comes back when the view ends.
#pragma once

namespace tarnwick {

class InterruptFlag {
public:
    InterruptFlag();
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    bool raised() const;
};

}  // namespace tarnwick
