// The history file: what goes in comes back, the filters pick the right runs newest first,
// and a file that cannot serve costs one warning and nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "history/record_format.h"
#include "history/sqlite_history.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

RunRecord run(const char* serial, const char* start, int code) {
    RunRecord r;
    r.startUtc = r.endUtc = start;
    r.serialNumber = serial;
    r.model = "TWK-7000";
    r.resultCode = code;
    r.resultText = code == 0 ? "Update completed." : "Update Failed!";
    r.errorBoxes = {"Target : DSP Error : Timeout!", "second, \"quoted\""};
    const ComponentRecord c{0x42, "NETIMG", "0104", "0100", ComponentOutcome::Updated, "", "module acknowledgement"};
    r.components = {c, c};
    r.components[1].id = 0x11;
    r.components[1].outcome = ComponentOutcome::NotAttempted;
    return r;
}

struct Warnings {
    std::vector<std::string> lines;
    HistoryWarning sink() { return [this](const std::string& line) { lines.push_back(line); }; }
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

// A file that is no database is moved aside and a new one started (a directory in the
// way, one warning and nothing recorded, is run through by the end-to-end history test).
TEST(SqliteHistory, AJunkFileIsMovedAsideWithOneWarning) {
    TempDir dir;
    const std::string path = dir.file("history.db");
    { std::ofstream(path) << std::string(4400, 'j'); }
    Warnings warnings;
    auto store = openSqliteHistory(path, warnings.sink());
    EXPECT_EQ(store->recordRun(run("TW1", "2026-12-01T10:00:00Z", 0)), 1);
    EXPECT_EQ(store->recordRun(run("TW1", "2026-12-01T10:00:00Z", 0)), 2);
    EXPECT_EQ(warnings.lines.size(), 1u);
    EXPECT_EQ(std::count_if(std::filesystem::directory_iterator(dir.path()), {},
                            [](const auto& e) { return e.path().filename().string().rfind("history.db.damaged-", 0) == 0; }), 1);
}

// (One row per component is counted by the end-to-end history test.)
TEST(HistoryCsv, FieldsWithCommasAreQuoted) {
    RunRecord r = run("TW1", "2026-12-01T10:00:00Z", 0);
    r.runId = 7;
    r.resultText = "a, b";
    const std::string csv = historyCsv({r});
    EXPECT_NE(csv.find(",\"a, b\",42,NETIMG,0104,0100,updated,,module acknowledgement\r\n"), std::string::npos) << csv;
}

}  // namespace
}  // namespace tarnwick::test
