// The serial port candidates of one command: the device it names, or none at all, so that
// the start-up port test opens nothing else of the machine.
#pragma once
#include <cstdlib>
#include <string>

namespace tarnwick {

// Makes the device the only serial port candidate while the command runs; "" leaves none.
class OnlyPort {
public:
    explicit OnlyPort(const std::string& device) {
        const char* previous = std::getenv("TARNWICK_SERIAL_PORTS");
        hadPrevious_ = previous != nullptr;
        if (hadPrevious_) previous_ = previous;
        setenv("TARNWICK_SERIAL_PORTS", device.c_str(), 1);
    }
    ~OnlyPort() {
        if (hadPrevious_) {
            setenv("TARNWICK_SERIAL_PORTS", previous_.c_str(), 1);
        } else {
            unsetenv("TARNWICK_SERIAL_PORTS");
        }
    }
    OnlyPort(const OnlyPort&) = delete;
    OnlyPort& operator=(const OnlyPort&) = delete;

private:
    bool hadPrevious_ = false;
    std::string previous_;
};

}  // namespace tarnwick
