// `tarnwick versions --file PKG`: load a package as "Load" does and list its versions.
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_session.h"
#include "window/component_rows.h"
#include "window/console_dialog.h"
#include "monitor/monitor_view.h"
#include "window/main_window.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {
// The listing uses CR LF line ends; a terminal wants LF.
std::string withUnixLineEnds(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out.push_back(text[i]);
    }
    return out;
}

// {"event":"versions","file":...,"components":[{"id","name","version"}, ...]}
std::string versionsJson(const std::string& file, const UpdatePackage& package) {
    std::string list;
    for (const ComponentRow& row : componentRows(package, nullptr)) {
        list += std::string(list.empty() ? "" : ",") + "{\"id\":" + jsonString(row.id) + ",\"name\":" +
                jsonString(row.name) + ",\"version\":" + jsonString(row.packageVersion) + "}";
    }
    return "\"event\":\"versions\",\"file\":" + jsonString(file) + ",\"components\":[" + list + "]";
}

}  // namespace

int runVersionsCommand(const CommandOptions& options, const CommandIo& io) {
    InterruptGuard interrupts(io.err, workDirFor(false, ""));
    ConsoleOptions console;
    console.out = io.out;
    console.answerPolicy = AnswerPolicy::No;
    console.fileToOpen = absolutePath(options.value("--file"));
    CliSession session(io, console, options.has("--json"));
    MainWindow& window = session.window;
    window.portCandidates = std::vector<std::string>{};  // a listing opens no serial device
    window.initDialog();
    window.onLoad();
    int status = 1;
    if (window.packageLoaded && session.json) {
        session.json->write(versionsJson(console.fileToOpen, window.package));
        status = 0;
    } else if (window.packageLoaded) {
        std::string listing = withUnixLineEnds(window.versionListing());
        if (listing.empty() || listing.back() != '\n') listing.push_back('\n');
        std::fputs(listing.c_str(), io.out);
        status = 0;
    } else {
        explainPackageFailure(io, "versions", console.fileToOpen);
    }
    deleteWorkFiles(window.package);
    return status;
}

}  // namespace tarnwick
