// The product's route as the commands take it: --port (with --baud) or --ip (with
// --tcp-port), the wire trace and --verbose.
#include "cli/cli_route.h"

#include <cstdio>

#include "cli/cli_commands.h"
#include "window/console_dialog.h"
#include "window/main_window.h"
#include "platform/device_state.h"
#include "platform/port_names.h"
#include "platform/serial_port.h"
#include "platform/serial_candidates.h"
#include "update/ethernet/ethernet_run.h"

namespace tarnwick {

namespace {

// "0".."4", or the bit rate of one of them; -1 for anything else.
int baudIndexOf(const std::string& text) {
    for (uint8_t i = 0; i < kBaudRateCount; ++i) {
        if (text == std::to_string(i) || text == std::to_string(baudRateOf(i))) return i;
    }
    return -1;
}

// "COMn" (any case) as `tarnwick ports` lists it: the n-th candidate's device path; 0 for a
// name of that form without a port behind it; -1 for any other text (a device path).
int portNameToDevice(std::string& device) {
    if (device.size() < 4 || device.size() > 5 || (device.compare(0, 3, "COM") != 0 && device.compare(0, 3, "com") != 0)) {
        return -1;
    }
    int number = 0;
    for (size_t k = 3; k < device.size(); ++k) {
        if (device[k] < '0' || device[k] > '9' || number > kMaxPortNumber) return -1;
        number = number * 10 + (device[k] - '0');
    }
    const std::string path = deviceOfPortNumber(number);
    if (path.empty()) return 0;
    device = path;
    return 1;
}

bool parseRoute(const CommandOptions& options, SerialOptions& out, std::string& problem) {
    out.device = options.value("--port");
    if (portNameToDevice(out.device) == 0) {
        problem = "--port " + out.device + ": no such port here (`tarnwick ports` lists them)";
        return false;
    }
    const std::string ip = options.value("--ip");
    out.ethernet = !ip.empty();
    if (out.device.empty() == ip.empty()) {
        problem = out.ethernet ? "--port and --ip exclude each other" : "--port or --ip is required";
        return false;
    }
    if (out.ethernet && !parseIpAddress(ip, out.address)) {
        problem = "--ip takes four numbers 0..255 separated by dots";
        return false;
    }
    const std::string tcpPort = options.value("--tcp-port");
    if (!tcpPort.empty() && (!out.ethernet || updatePortOf(tcpPort) == 0)) {
        problem = out.ethernet ? "--tcp-port takes a port number 1..65535" : "--tcp-port goes with --ip";
        return false;
    }
    if (!tcpPort.empty()) out.tcpPort = tcpPort;
    return true;
}

}  // namespace

int usageError(const CommandIo& io, const char* command, const std::string& problem) {
    const char* synopsis = command;
    for (const CliCommand& c : cliCommands()) {
        if (std::string(c.name) == command) synopsis = c.synopsis;
    }
    std::fprintf(io.err, "tarnwick %s: %s\nUsage: tarnwick %s\n", command, problem.c_str(), synopsis);
    return kExitUsage;
}

bool parseSerialOptions(const CommandOptions& options, SerialOptions& out, std::string& problem) {
    if (!parseRoute(options, out, problem)) return false;
    const std::string baud = options.value("--baud");
    if (!baud.empty()) {
        out.baud = baudIndexOf(baud);
        if (out.baud < 0) {
            problem = "--baud takes an index 0..4 or the bit rate 9600, 19200, 38400, 57600 or 115200";
            return false;
        }
    }
    out.trace = options.value("--trace");
    out.verbose = options.has("--verbose");
    return true;
}

// Creates (truncates) the trace file; only once every option has been accepted.
bool createTrace(const SerialOptions& serial, std::string& problem) {
    if (serial.trace.empty()) return true;
    std::FILE* f = std::fopen(serial.trace.c_str(), "w");
    if (f == nullptr) {
        problem = "cannot create the trace file '" + serial.trace + "'";
        return false;
    }
    std::fclose(f);
    return true;
}

// Starts the window with the device as the only candidate of its port list (none for
// Ethernet), so that the start-up port test opens nothing else of the machine; says so when
// the device does not open (the procedure then fails on the port as it would in the window).
void startConsoleWindow(MainWindow& window, ConsoleDialog& dialog, const SerialOptions& serial, const CommandIo& io,
                 const char* command) {
    window.linkTracePath = serial.trace;
    window.portCandidates = serial.ethernet ? std::vector<std::string>{} : std::vector<std::string>{serial.device};
    window.initDialog();
    dialog.setBaudSelection(serial.baud);
    if (window.portTable.count == 0 && !serial.ethernet) {
        std::fprintf(io.err, "tarnwick %s: the serial device '%s' cannot be opened: %s\n", command,
                     serial.device.c_str(), deviceStateText(probeSerialDevice(serial.device)).c_str());
    }
}

// A click on the "RS-232C" or the "Ethernet" radio, with the address for Ethernet, unless
// that radio is already chosen: after a Load the window has settled on a type without
// rebuilding the target list, and the operator presses Update on the list as it stands; a
// click would rebuild it.
void chooseRoute(MainWindow& window, ConsoleDialog& dialog, const SerialOptions& route) {
    if (route.ethernet) {
        dialog.controls().ipAddress = route.address;
        dialog.controls().tcpPortText = route.tcpPort;
    }
    const int commType = route.ethernet ? 1 : 0;
    if (dialog.controls().commType == commType) return;
    dialog.controls().commType = commType;
    window.onCommTypeChanged();
}

}  // namespace tarnwick
