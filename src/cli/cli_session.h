// One command's window on the console: the console dialog, the main window on it, and with
// --json the event writer listening to the window (boxes and status lines then reach the
// output only as JSON lines).
#pragma once
#include <cstdio>
#include <memory>

#include "cli/command_line.h"
#include "window/console_dialog.h"
#include "cli/json_events.h"
#include "window/main_window.h"
#include "history/history_store.h"

namespace tarnwick {

class CliSession {
public:
    CliSession(const CommandIo& io, ConsoleOptions console, bool json);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Another listener beside the JSON events (the summary); null for none.
    void listen(UpdateObserver* also);
    // Records the window's runs as the command line's, in the file of --history (or the
    // default place) unless --no-history.
    void recordRuns(const CommandOptions& options);
    // The JSON result line; nothing in text mode.
    void finish(int code);

    std::FILE* nowhere;  // where the console's own text goes with --json
    ConsoleDialog dialog;
    MainWindow window;
    std::unique_ptr<JsonEvents> json;  // null without --json
    std::unique_ptr<HistoryStore> history;  // null without a history
};

}  // namespace tarnwick
