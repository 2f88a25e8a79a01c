// The history file: what goes in comes back, the filters pick the right runs newest first,
// and a file that cannot serve costs one warning and nothing else.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "history/record_format.h"
#include "history/sqlite_history.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

RunRecord run(const char* serial, const char* start, int code) {
    RunRecord r;
    r.startUtc = start;
    r.endUtc = start;
    r.serialNumber = serial;
    r.model = "TWK-7000";
    r.resultCode = code;
    r.resultText = code == 0 ? "Update completed." : "Update Failed!";
    r.errorBoxes = {"Target : DSP Error : Timeout!", "second, \"quoted\""};
    ComponentRecord c;
    c.id = 0x42;
    c.name = "NETIMG";
    c.packageVersion = "0104";
    c.productVersion = "0100";
    c.outcome = ComponentOutcome::Updated;
    c.check = "module acknowledgement";
    r.components = {c, c};
    r.components[1].id = 0x11;
    r.components[1].outcome = ComponentOutcome::NotAttempted;
    return r;
}

struct Warnings {
    std::vector<std::string> lines;
    HistoryWarning sink() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

std::vector<int64_t> ids(const std::vector<RunRecord>& runs) {
    std::vector<int64_t> out;
    for (const RunRecord& r : runs) out.push_back(r.runId);
    return out;
}

TEST(SqliteHistory, RecordsComeBackWholeAndTheFiltersPickNewestFirst) {
    TempDir dir;
    Warnings warnings;
    auto store = openSqliteHistory(dir.file("history.db"), warnings.sink());
    ASSERT_EQ(store->recordRun(run("TW1", "2026-12-01T10:00:00Z", 0)), 1);
    ASSERT_EQ(store->recordRun(run("TW2", "2026-12-03T10:00:00Z", 1)), 2);
    ASSERT_EQ(store->recordRun(run("TW1", "2026-12-05T10:00:00Z", 1)), 3);
    const struct {
        HistoryQuery query;
        std::vector<int64_t> expected;
    } cases[] = {
        {{}, {3, 2, 1}},
        {{"TW1", "", "", HistoryQuery::Result::Any, 0}, {3, 1}},
        {{"", "", "2026-12-03", HistoryQuery::Result::Any, 0}, {3, 2}},
        {{"", "", "", HistoryQuery::Result::Ok, 0}, {1}},
        {{"", "TWK-7000", "", HistoryQuery::Result::Failed, 1}, {3}},
        {{"", "OTHER", "", HistoryQuery::Result::Any, 0}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ids(store->queryRuns(c.query)), c.expected);
    const std::optional<RunRecord> back = store->findRun(2);
    ASSERT_TRUE(back);
    RunRecord expected = run("TW2", "2026-12-03T10:00:00Z", 1);
    expected.runId = 2;
    EXPECT_EQ(runJson(*back), runJson(expected));
    EXPECT_TRUE(warnings.lines.empty());
}

TEST(SqliteHistory, AFileThatCannotServeCostsOneWarning) {
    const struct {
        const char* name;
        void (*make)(const std::string& path);
        bool movedAside;  // a new file is started and the run is recorded
    } cases[] = {
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }, false},
        {"junk", [](const std::string& p) {
             std::FILE* f = std::fopen(p.c_str(), "w");
             for (int i = 0; i < 200; ++i) std::fputs("not a database at all ", f);
             std::fclose(f);
         }, true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const std::string path = dir.file("history.db");
        c.make(path);
        Warnings warnings;
        auto store = openSqliteHistory(path, warnings.sink());
        EXPECT_EQ(store->recordRun(run("TW1", "2026-12-01T10:00:00Z", 0)) == 1, c.movedAside) << c.name;
        EXPECT_EQ(store->recordRun(run("TW1", "2026-12-01T10:00:00Z", 0)) == 2, c.movedAside) << c.name;
        EXPECT_EQ(warnings.lines.size(), 1u) << c.name;
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            files += entry.path().filename().string().rfind("history.db.damaged-", 0) == 0;
        }
        EXPECT_EQ(files, c.movedAside ? 1u : 0u) << c.name;
    }
}

TEST(HistoryCsv, OneRowPerComponentWithQuotedFields) {
    RunRecord r = run("TW1", "2026-12-01T10:00:00Z", 0);
    r.runId = 7;
    r.resultText = "a, b";
    const std::string csv = historyCsv({r});
    size_t rows = 0;
    for (size_t at = 0; (at = csv.find("\r\n", at)) != std::string::npos; at += 2) ++rows;
    EXPECT_EQ(rows, 3u);  // the heading and two components
    EXPECT_NE(csv.find(",\"a, b\",42,NETIMG,0104,0100,updated,,module acknowledgement\r\n"), std::string::npos) << csv;
}

}  // namespace
}  // namespace tarnwick::test
