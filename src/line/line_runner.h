// `tarnwick line FIRST-LAST`: a production line of stations on one PC. The caller holds the
// single-instance lock for the whole line, so no window or command runs meanwhile; each
// station is its own `tarnwick /NN` process under its own station lock, `parallel` at a
// time, writing only its own slot. Most of an Ethernet update is the product's and the
// module's restarts, so stations that run side by side finish the line sooner.
#pragma once
#include <cstdio>
#include <string>

namespace tarnwick {

struct LineOptions {
    int first = 1;
    int last = 1;
    int parallel = 1;     // stations running at once; 1 runs them one after another
    bool json = false;    // one JSON document at the end instead of the lines
    bool table = false;   // the monitor's table while it runs (on a terminal)
    std::string program;  // the program that runs a station
};

// Runs the line and prints its outcome on out. Exit 0 when every station succeeded, 1 when
// any did not, 130 when a signal stopped the line (it is passed on to the running
// stations, and no further station starts).
int runLine(const LineOptions& options, std::FILE* out, std::FILE* err);

}  // namespace tarnwick
