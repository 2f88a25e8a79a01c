// `tarnwick check` and `tarnwick update`: the operator's steps on the console window,
// over RS-232C or Ethernet. The device named by --port becomes the only entry of the port
// list; --ip is a click on "Ethernet" with the address in the IP address control.
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_route.h"
#include "cli/cli_session.h"
#include "window/console_dialog.h"
#include "window/control_ids.h"
#include "window/main_window.h"
#include "window/status_line.h"
#include "history/record_format.h"
#include "package/work_files.h"
#include "platform/device_state.h"
#include "platform/serial_port.h"
#include "platform/terminal.h"
#include "update/ethernet/ethernet_run.h"

namespace tarnwick {

namespace {

constexpr int kExitDeclined = 12;      // a confirmation was declined: no result
constexpr int kExitCheckNg = 1;
constexpr int kExitNoPackage = 2;      // as "File reading error!"
constexpr int kExitNoSerial = 1;       // as "Update Failed!"

ConsoleOptions consoleFor(const SerialOptions& serial, const CommandIo& io, AnswerPolicy policy) {
    ConsoleOptions console;
    console.out = io.out;
    console.terminal = isTerminal(io.out) ? io.out : nullptr;
    // With the output redirected, a question is asked where the operator sees it.
    console.prompt = console.terminal != nullptr ? io.out : io.err;
    console.answers = isTerminal(io.in) ? io.in : nullptr;
    console.answerPolicy = policy;
    console.notices = io.err;
    console.yesHint = "run again with --yes to answer Yes";
    console.verbose = serial.verbose;
    return console;
}

// The command line presses a button only where the window would let the operator; says
// why not otherwise.
bool buttonEnabled(const ConsoleDialog& dialog, const MainWindow& window, int id, const char* label,
                   const CommandIo& io, const char* command) {
    if (dialog.isEnabled(id)) return true;
    const char* why = window.package.modelName.empty() ? "the package names no model" : "not for this package";
    std::fprintf(io.err, "tarnwick %s: \"%s\" is disabled: %s\n", command, label, why);
    return false;
}

// After the result box: what became of each component the run handled, and how long it took.
// The summary is the run's record.
void showSummary(CliSession& session, const RunRecord& run, std::chrono::steady_clock::duration took,
                 const CommandIo& io) {
    const auto ms = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count());
    if (session.json) {
        session.json->summary(run, ms, session.window.nextSteps);
    } else if (handledAnyComponent(run)) {
        const std::string& warning = session.window.nextSteps;
        std::fprintf(io.out, "[summary]\n%s%s\n%s%s", summaryText(run).c_str(), composePositionLine(0, 0, ms).c_str(),
                     warning.c_str(), warning.empty() ? "" : "\n");
        std::fflush(io.out);
    }
}

// The modes chosen, then "Update"; the exit status.
int pressUpdate(CliSession& session, InterruptGuard& interrupts, const CommandOptions& options,
                const SerialOptions& serial, const CommandIo& io) {
    MainWindow& window = session.window;
    ConsoleDialog& dialog = session.dialog;
    if (!dialog.isEnabled(serial.ethernet ? ctl::RadioEthernet : ctl::RadioRs232c)) {
        std::fprintf(io.err, "tarnwick update: this package cannot be written over %s\n",
                     serial.ethernet ? "Ethernet" : "RS-232C");
        return kExitNoSerial;
    }
    chooseRoute(window, dialog, serial);
    if (options.has("--all-devices")) {
        dialog.controls().updateMode = 1;
        window.onModeClicked();
    }
    const std::string check = options.value("--check");
    if (!check.empty()) dialog.controls().checkMode = check == "verify" ? 0 : 1;
    if (!buttonEnabled(dialog, window, ctl::Update, "Update", io, "update")) return kExitNoPackage;
    session.listen(&interrupts);
    interrupts.setBeforeExit([&window] {
        if (window.recorder.active()) window.keepRecord(window.recorder.interruptedRecord(utcNow()));
    });
    const auto start = std::chrono::steady_clock::now();
    window.onUpdate();
    session.listen(nullptr);
    interrupts.setBeforeExit(nullptr);
    if (!window.nextSteps.empty()) std::fprintf(io.err, "%s\n", window.nextSteps.c_str());
    showSummary(session, window.recorder.record(), std::chrono::steady_clock::now() - start, io);
    return window.lastResultCode >= 0 ? window.lastResultCode : kExitDeclined;
}

}  // namespace

int runCheckCommand(const CommandOptions& options, const CommandIo& io) {
    SerialOptions serial;
    std::string problem;
    if (!parseSerialOptions(options, serial, problem) || !createTrace(serial, problem)) {
        return usageError(io, "check", problem);
    }
    CliSession session(io, consoleFor(serial, io, AnswerPolicy::No), options.has("--json"));
    session.recordRuns(options);
    startConsoleWindow(session.window, session.dialog, serial, io, "check");
    chooseRoute(session.window, session.dialog, serial);
    session.window.onCheckComm();
    const int status = session.window.lastCheckResult == 1 ? 0 : kExitCheckNg;
    if (!session.window.nextSteps.empty()) std::fprintf(io.err, "%s\n", session.window.nextSteps.c_str());
    session.finish(status);
    return status;
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
    if (!createTrace(serial, problem)) return usageError(io, "update", problem);
    const AnswerPolicy policy = options.has("--yes")  ? AnswerPolicy::Yes
                                : options.has("--no") ? AnswerPolicy::No
                                                      : AnswerPolicy::Ask;
    InterruptGuard interrupts(io.err, workDirFor(false, ""));
    ConsoleOptions console = consoleFor(serial, io, policy);
    console.fileToOpen = absolutePath(options.value("--file"));
    CliSession session(io, console, options.has("--json"));
    session.recordRuns(options);
    startConsoleWindow(session.window, session.dialog, serial, io, "update");
    session.window.onLoad();
    int status = kExitNoPackage;
    if (session.window.packageLoaded) {
        status = pressUpdate(session, interrupts, options, serial, io);
    } else {  // the load has shown why
        explainPackageFailure(io, "update", console.fileToOpen);
    }
    deleteWorkFiles(session.window.package);
    session.finish(status);
    return status;
}

}  // namespace tarnwick
