// The options the commands that reach the product share, and their usage errors.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "cli/command_line.h"

namespace tarnwick {

struct SerialOptions {
    std::string device;
    bool ethernet = false;
    std::array<uint8_t, 4> address{};
    std::string tcpPort = "5000";
    int baud = 4;  // 115200 bit/s
    std::string trace;
    bool verbose = false;
};

// Prints the problem and the command's synopsis; gives the usage exit status.
int usageError(const CommandIo& io, const char* command, const std::string& problem);

// --port/--ip, --tcp-port, --baud, --trace and --verbose; false with the problem.
bool parseSerialOptions(const CommandOptions& options, SerialOptions& out, std::string& problem);

// Creates (empties) the trace file, once every option is accepted.
bool createTrace(const SerialOptions& serial, std::string& problem);

class MainWindow;
class ConsoleDialog;

// Starts the window with the route's trace and bit rate; says why when the device does not
// open (the procedure then fails on the port as it would in the window).
void startConsoleWindow(MainWindow& window, ConsoleDialog& dialog, const SerialOptions& route, const CommandIo& io,
                        const char* command);

// A click on the "RS-232C" or the "Ethernet" radio, with the address for Ethernet, unless
// that radio is already chosen.
void chooseRoute(MainWindow& window, ConsoleDialog& dialog, const SerialOptions& route);

}  // namespace tarnwick
