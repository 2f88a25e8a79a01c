#include "history/sqlite_rows.h"

#include <sqlite3.h>

#include <string>
#include <utility>

namespace tarnwick {

namespace {

constexpr const char* kRunColumns =
    "id, kind, start_utc, end_utc, host, front_end, link, model, serial, mac, package_id_before, package_file,"
    " package_id, package_model, package_sha256, result_code, result_text, error_boxes, normal_mode, interrupted";

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    void bind(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
    int step() { return sqlite3_step(stmt_); }
    std::string text(int column) const {
        const unsigned char* t = sqlite3_column_text(stmt_, column);
        return t == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(t));
    }
    int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    void reset() { sqlite3_reset(stmt_); }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) out += (out.empty() ? "" : "\n") + l;
    return out;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool insertComponents(sqlite3* db, int64_t runId, const std::vector<ComponentRecord>& components) {
    Statement s(db, "INSERT INTO components VALUES(?,?,?,?,?,?,?,?,?)");
    if (!s.ok()) return false;
    int64_t position = 0;
    for (const ComponentRecord& c : components) {
        s.bind(1, runId);
        s.bind(2, position++);
        s.bind(3, static_cast<int64_t>(c.id));
        s.bind(4, c.name);
        s.bind(5, c.packageVersion);
        s.bind(6, c.productVersion);
        s.bind(7, std::string(outcomeName(c.outcome)));
        s.bind(8, c.reason);
        s.bind(9, c.check);
        if (s.step() != SQLITE_DONE) return false;
        s.reset();
    }
    return true;
}

int64_t insertRunRow(sqlite3* db, const RunRecord& r) {
    Statement s(db, "INSERT INTO runs VALUES(NULL,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    if (!s.ok()) return 0;
    const std::string texts[] = {kindName(r.kind), r.startUtc, r.endUtc, r.host, r.frontEnd, r.link, r.model,
                                 r.serialNumber, r.macAddress, r.packageIdBefore, r.packageFile, r.packageId,
                                 r.packageModel, r.packageSha256};
    int index = 1;
    for (const std::string& t : texts) s.bind(index++, t);
    s.bind(index++, static_cast<int64_t>(r.resultCode));
    s.bind(index++, r.resultText);
    s.bind(index++, joinLines(r.errorBoxes));
    s.bind(index++, static_cast<int64_t>(r.normalModeConfirmed));
    s.bind(index++, static_cast<int64_t>(r.interrupted));
    return s.step() == SQLITE_DONE ? sqlite3_last_insert_rowid(db) : 0;
}

RunRecord runFrom(const Statement& s) {
    RunRecord r;
    r.runId = s.integer(0);
    kindFromName(s.text(1), r.kind);
    std::string* texts[] = {&r.startUtc, &r.endUtc, &r.host, &r.frontEnd, &r.link, &r.model, &r.serialNumber,
                            &r.macAddress, &r.packageIdBefore, &r.packageFile, &r.packageId, &r.packageModel,
                            &r.packageSha256};
    int column = 2;
    for (std::string* t : texts) *t = s.text(column++);
    r.resultCode = static_cast<int>(s.integer(column++));
    r.resultText = s.text(column++);
    r.errorBoxes = splitLines(s.text(column++));
    r.normalModeConfirmed = s.integer(column++) != 0;
    r.interrupted = s.integer(column++) != 0;
    return r;
}

void loadComponents(sqlite3* db, RunRecord& run) {
    Statement s(db, "SELECT cid, name, package_version, product_version, outcome, reason, check_method"
                    " FROM components WHERE run_id = ? ORDER BY position");
    if (!s.ok()) return;
    s.bind(1, run.runId);
    while (s.step() == SQLITE_ROW) {
        ComponentRecord c;
        c.id = static_cast<uint8_t>(s.integer(0));
        c.name = s.text(1);
        c.packageVersion = s.text(2);
        c.productVersion = s.text(3);
        outcomeFromName(s.text(4), c.outcome);
        c.reason = s.text(5);
        c.check = s.text(6);
        run.components.push_back(c);
    }
}

}  // namespace

int64_t insertRun(sqlite3* db, const RunRecord& run) {
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return 0;
    const int64_t id = insertRunRow(db, run);
    if (id > 0 && insertComponents(db, id, run.components) &&
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK) {
        return id;
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return 0;
}

// Only the filters given are in the statement, so that a serial number uses its index.
std::vector<RunRecord> selectRuns(sqlite3* db, const HistoryQuery& q) {
    const std::pair<const char*, const std::string*> filters[] = {
        {"serial = ?", &q.serialNumber}, {"model = ?", &q.model}, {"start_utc >= ?", &q.since}};
    std::string where = " WHERE 1";
    std::vector<const std::string*> values;
    for (const auto& [condition, value] : filters) {
        if (value->empty()) continue;
        where += std::string(" AND ") + condition;
        values.push_back(value);
    }
    if (q.result == HistoryQuery::Result::Ok) where += " AND result_code = 0";
    if (q.result == HistoryQuery::Result::Failed) where += " AND result_code <> 0";
    std::string sql = std::string("SELECT ") + kRunColumns + " FROM runs" + where + " ORDER BY start_utc DESC, id DESC";
    if (q.limit > 0) sql += " LIMIT " + std::to_string(q.limit);
    Statement s(db, sql);
    std::vector<RunRecord> runs;
    if (!s.ok()) return runs;
    for (size_t i = 0; i < values.size(); ++i) s.bind(static_cast<int>(i + 1), *values[i]);
    while (s.step() == SQLITE_ROW) runs.push_back(runFrom(s));
    for (RunRecord& r : runs) loadComponents(db, r);
    return runs;
}

std::optional<RunRecord> selectRun(sqlite3* db, int64_t runId) {
    Statement s(db, std::string("SELECT ") + kRunColumns + " FROM runs WHERE id = ?");
    if (!s.ok()) return std::nullopt;
    s.bind(1, runId);
    if (s.step() != SQLITE_ROW) return std::nullopt;
    RunRecord r = runFrom(s);
    loadComponents(db, r);
    return r;
}

}  // namespace tarnwick
