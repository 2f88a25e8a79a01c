// `tarnwick history`: the recorded runs, as a table, JSON, CSV or one run in full.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_route.h"
#include "history/history_place.h"
#include "history/record_format.h"
#include "history/sqlite_history.h"

namespace tarnwick {

namespace {

constexpr int kExitNoSuchRun = 1;

// A whole positive number, or -1.
long long positiveNumber(const std::string& text) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    const long long n = std::atoll(text.c_str());
    return n > 0 ? n : -1;
}

bool parseQuery(const CommandOptions& options, HistoryQuery& query, std::string& problem) {
    query.serialNumber = options.value("--serial");
    query.model = options.value("--model");
    query.since = options.value("--since");
    const std::string result = options.value("--result");
    if (result == "ok") query.result = HistoryQuery::Result::Ok;
    if (result == "failed") query.result = HistoryQuery::Result::Failed;
    if (!result.empty() && query.result == HistoryQuery::Result::Any) {
        problem = "--result takes ok or failed";
        return false;
    }
    const std::string limit = options.value("--limit");
    if (!limit.empty()) {
        const long long n = positiveNumber(limit);
        if (n < 0 || n > 1000000000) {
            problem = "--limit takes a number above 0";
            return false;
        }
        query.limit = static_cast<int>(n);
    }
    if (options.has("--json") && options.has("--csv")) {
        problem = "--json and --csv exclude each other";
        return false;
    }
    return true;
}

int showRun(HistoryStore& store, const CommandOptions& options, const CommandIo& io) {
    const long long id = positiveNumber(options.value("show"));
    const std::optional<RunRecord> run = id > 0 ? store.findRun(id) : std::nullopt;
    if (!run) {
        std::fprintf(io.err, "tarnwick history: no run %s\n", options.value("show").c_str());
        return kExitNoSuchRun;
    }
    const std::string text = options.has("--json") ? runJson(*run).dump(2) + "\n" : runText(*run);
    std::fputs(text.c_str(), io.out);
    return 0;
}

}  // namespace

int runHistoryCommand(const CommandOptions& options, const CommandIo& io) {
    HistoryQuery query;
    std::string problem;
    if (!parseQuery(options, query, problem)) return usageError(io, "history", problem);
    const std::unique_ptr<HistoryStore> store = openHistoryForRuns(historyFilePath(options.value("--history"), false, false));
    if (store == nullptr) return usageError(io, "history", "no history file");
    if (!options.value("show").empty()) return showRun(*store, options, io);
    const std::vector<RunRecord> runs = store->queryRuns(query);
    std::string text;
    if (options.has("--json")) {
        nlohmann::json list = nlohmann::json::array();
        for (const RunRecord& r : runs) list.push_back(runJson(r));
        text = nlohmann::json{{"event", "history"}, {"runs", list}}.dump(2) + "\n";
    } else if (options.has("--csv")) {
        text = historyCsv(runs);
    } else {
        text = historyTable(runs);
    }
    std::fputs(text.c_str(), io.out);
    return 0;
}

}  // namespace tarnwick
