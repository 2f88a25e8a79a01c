// `tarnwick check` and `tarnwick update`: the operator's steps over RS-232C on the
// console window. The device named by --port becomes the only entry of the port list.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/cli_commands.h"
#include "app/console_dialog.h"
#include "app/control_ids.h"
#include "app/main_window.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {

constexpr int kExitDeclined = 12;      // a confirmation was declined: no result
constexpr int kExitCheckNg = 1;
constexpr int kExitNoPackage = 2;      // as "File reading error!"
constexpr int kExitNoSerial = 1;       // as "Update Failed!"
constexpr int kDefaultBaud = 4;        // 115200 bit/s
constexpr const char* kPortsVariable = "TARNWICK_SERIAL_PORTS";

int usageError(const CommandIo& io, const char* command, const std::string& problem) {
    const char* synopsis = command;
    for (const CliCommand& c : cliCommands()) {
        if (std::string(c.name) == command) synopsis = c.synopsis;
    }
    std::fprintf(io.err, "tarnwick %s: %s\nUsage: tarnwick %s\n", command, problem.c_str(), synopsis);
    return kExitUsage;
}

// Makes the device the only serial port candidate while the command runs.
class OnlyPort {
public:
    explicit OnlyPort(const std::string& device) {
        const char* previous = std::getenv(kPortsVariable);
        hadPrevious_ = previous != nullptr;
        if (hadPrevious_) previous_ = previous;
        setenv(kPortsVariable, device.c_str(), 1);
    }
    ~OnlyPort() {
        if (hadPrevious_) {
            setenv(kPortsVariable, previous_.c_str(), 1);
        } else {
            unsetenv(kPortsVariable);
        }
    }
    OnlyPort(const OnlyPort&) = delete;
    OnlyPort& operator=(const OnlyPort&) = delete;

private:
    bool hadPrevious_ = false;
    std::string previous_;
};

// The options both commands share.
struct SerialOptions {
    std::string device;
    int baud = kDefaultBaud;
    std::string trace;
    bool verbose = false;
};

bool parseSerialOptions(const CommandOptions& options, SerialOptions& out, std::string& problem) {
    out.device = options.value("--port");
    if (out.device.find(':') != std::string::npos) {
        problem = "a device path with ':' cannot be used";
        return false;
    }
    const std::string baud = options.value("--baud");
    if (!baud.empty()) {
        if (baud.size() != 1 || baud[0] < '0' || baud[0] > '4') {
            problem = "--baud takes an index 0..4 (9600 .. 115200 bit/s)";
            return false;
        }
        out.baud = baud[0] - '0';
    }
    out.trace = options.value("--trace");
    if (!out.trace.empty()) {
        std::FILE* f = std::fopen(out.trace.c_str(), "w");
        if (f == nullptr) {
            problem = "cannot create the trace file '" + out.trace + "'";
            return false;
        }
        std::fclose(f);
    }
    out.verbose = options.has("--verbose");
    return true;
}

ConsoleOptions consoleFor(const SerialOptions& serial, const CommandIo& io, AnswerPolicy policy) {
    ConsoleOptions console;
    console.out = io.out;
    console.terminal = isatty(fileno(io.out)) ? io.out : nullptr;
    console.answers = isatty(fileno(io.in)) ? io.in : nullptr;
    console.answerPolicy = policy;
    console.verbose = serial.verbose;
    return console;
}

// Starts the window with the device as its port list; says so when the device does not
// open (the procedure then fails on the port as it would in the window).
void startWindow(MainWindow& window, ConsoleDialog& dialog, const SerialOptions& serial, const CommandIo& io,
                 const char* command) {
    window.linkTracePath = serial.trace;
    window.initDialog();
    dialog.setBaudSelection(serial.baud);
    if (window.portTable.count == 0) {
        std::fprintf(io.err, "tarnwick %s: the serial device '%s' cannot be opened (missing, in use or not permitted)\n",
                     command, serial.device.c_str());
    }
}

// A click on the "RS-232C" radio, unless it is already chosen: after a Load the window
// has settled on it without rebuilding the target list, and the operator presses Update
// on the list as it stands; a click would rebuild it.
void chooseSerial(MainWindow& window, ConsoleDialog& dialog) {
    if (dialog.controls().commType == 0) return;
    dialog.controls().commType = 0;
    window.onCommTypeChanged();
}

}  // namespace

int runCheckCommand(const CommandOptions& options, const CommandIo& io) {
    SerialOptions serial;
    std::string problem;
    if (!parseSerialOptions(options, serial, problem)) return usageError(io, "check", problem);
    OnlyPort port(serial.device);
    ConsoleDialog dialog(consoleFor(serial, io, AnswerPolicy::No));
    MainWindow window(dialog, systemClock(), silentTone());
    startWindow(window, dialog, serial, io, "check");
    chooseSerial(window, dialog);
    window.onCheckComm();
    return window.lastCheckResult == 1 ? 0 : kExitCheckNg;
}

int runUpdateCommand(const CommandOptions& options, const CommandIo& io) {
    SerialOptions serial;
    std::string problem;
    if (!parseSerialOptions(options, serial, problem)) return usageError(io, "update", problem);
    if (options.has("--yes") && options.has("--no")) return usageError(io, "update", "--yes and --no exclude each other");
    const std::string check = options.value("--check");
    if (!check.empty() && check != "verify" && check != "sum") {
        return usageError(io, "update", "--check takes verify or sum");
    }
    const AnswerPolicy policy = options.has("--yes")  ? AnswerPolicy::Yes
                                : options.has("--no") ? AnswerPolicy::No
                                                      : AnswerPolicy::Ask;
    OnlyPort port(serial.device);
    ConsoleOptions console = consoleFor(serial, io, policy);
    console.fileToOpen = absolutePath(options.value("--file"));
    ConsoleDialog dialog(console);
    MainWindow window(dialog, systemClock(), silentTone());
    startWindow(window, dialog, serial, io, "update");

    window.onLoad();
    if (!window.packageLoaded) return kExitNoPackage;  // the load has shown why
    int status = kExitNoSerial;
    if (!dialog.isEnabled(ctl::RadioRs232c)) {
        std::fprintf(io.err, "tarnwick update: this package cannot be written over RS-232C\n");
    } else {
        chooseSerial(window, dialog);
        if (options.has("--all-devices")) {
            dialog.controls().updateMode = 1;
            window.onModeClicked();
        }
        if (!check.empty()) dialog.controls().checkMode = check == "verify" ? 0 : 1;
        window.onUpdate();
        status = window.lastResultCode >= 0 ? window.lastResultCode : kExitDeclined;
    }
    deleteWorkFiles(window.package);
    return status;
}

}  // namespace tarnwick
