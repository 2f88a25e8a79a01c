// A pseudo-terminal pair in raw mode: the product holds the master, the program opens
// the slave by its path as it would open a serial device.
#pragma once
#include <string>

namespace tarnwick::sim {

class PtyPair {
public:
    PtyPair() = default;
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Creates the pair; false on failure (error text in error()).
    bool open();
    void close();
    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }
    const std::string& error() const { return error_; }

private:
    int master_ = -1;
    // The product keeps the slave open itself, so the master never sees a hang-up while
    // the program has the port closed (between a close and the reopen of a target switch).
    int keepAlive_ = -1;
    std::string slavePath_;
    std::string error_;
};

}  // namespace tarnwick::sim
