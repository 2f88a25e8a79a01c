#include "cli/cli_session.h"

#include "history/history_place.h"
#include "history/sqlite_history.h"

namespace tarnwick {

namespace {

ConsoleOptions quietedFor(ConsoleOptions console, std::FILE* nowhere) {
    if (nowhere == nullptr) return console;
    console.out = nowhere;
    console.terminal = nullptr;
    console.verbose = false;
    console.answers = nullptr;  // a question is answered No, and standard error says so
    return console;
}

}  // namespace

CliSession::CliSession(const CommandIo& io, ConsoleOptions console, bool jsonOutput)
    : nowhere(jsonOutput ? std::fopen("/dev/null", "w") : nullptr),
      dialog(quietedFor(std::move(console), nowhere)),
      window(dialog, systemClock(), silentTone()) {
    if (jsonOutput) json = std::make_unique<JsonEvents>(io.out, window);
    window.observer = json.get();
}

CliSession::~CliSession() {
    window.observer = nullptr;
    if (nowhere != nullptr) std::fclose(nowhere);
}

void CliSession::listen(UpdateObserver* also) {
    if (json) {
        json->setNext(also);
    } else {
        window.observer = also;
    }
}

void CliSession::recordRuns(const CommandOptions& options) {
    window.frontEnd = "command line";
    history = openHistoryForRuns(historyFilePath(options.value("--history"), options.has("--no-history"), false));
    window.history = history.get();
}

void CliSession::finish(int code) {
    if (json) json->finish(code);
}

}  // namespace tarnwick
