#include "history/sqlite_history.h"

#include <sqlite3.h>

#include <cstdio>
#include <ctime>

#include "history/sqlite_rows.h"
#include "platform/utc_time.h"

namespace tarnwick {

namespace {

constexpr int kBusyTimeoutMs = 1000;  // a station waits this long for another to finish recording

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS runs(id INTEGER PRIMARY KEY, kind TEXT, start_utc TEXT, end_utc TEXT,"
    " host TEXT, front_end TEXT, link TEXT, model TEXT, serial TEXT, mac TEXT, package_id_before TEXT,"
    " package_file TEXT, package_id TEXT, package_model TEXT, package_sha256 TEXT, result_code INTEGER,"
    " result_text TEXT, error_boxes TEXT, normal_mode INTEGER, interrupted INTEGER);"
    "CREATE TABLE IF NOT EXISTS components(run_id INTEGER, position INTEGER, cid INTEGER, name TEXT,"
    " package_version TEXT, product_version TEXT, outcome TEXT, reason TEXT, check_method TEXT);"
    "CREATE INDEX IF NOT EXISTS runs_by_serial ON runs(serial, start_utc);"
    "CREATE INDEX IF NOT EXISTS runs_by_start ON runs(start_utc);"
    "CREATE INDEX IF NOT EXISTS components_by_run ON components(run_id);";

std::string stampNow() { return utcNowText("%Y%m%dT%H%M%SZ"); }

bool isDamage(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

class SqliteHistory final : public HistoryStore {
public:
    SqliteHistory(std::string path, HistoryWarning warn) : path_(std::move(path)), warn_(std::move(warn)) {}
    ~SqliteHistory() override { close(); }

    // Opens the file and makes its tables; a damaged file is moved aside once.
    void open() {
        int code = tryOpen();
        if (isDamage(code)) {
            close();
            const std::string aside = path_ + ".damaged-" + stampNow();
            if (std::rename(path_.c_str(), aside.c_str()) == 0) {
                warnOnce("the history file " + path_ + " was damaged: moved to " + aside + ", a new one started");
                code = tryOpen();
            }
        }
        if (code != SQLITE_OK) fail(code);
    }

    int64_t recordRun(const RunRecord& run) override {
        if (db_ == nullptr) return 0;
        const int64_t id = insertRun(db_, run);
        if (id > 0) return id;
        const int code = sqlite3_extended_errcode(db_);
        // A file another station held too long serves again for the next run.
        if ((code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED) {
            warnOnce("the history file " + path_ + " stayed locked: this run is not recorded");
        } else {
            fail(code);
        }
        return 0;
    }

    std::vector<RunRecord> queryRuns(const HistoryQuery& query) override {
        if (db_ == nullptr) return {};
        return selectRuns(db_, query);
    }

    std::optional<RunRecord> findRun(int64_t runId) override {
        if (db_ == nullptr) return std::nullopt;
        return selectRun(db_, runId);
    }

private:
    int tryOpen() {
        int code = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (code != SQLITE_OK) return code;
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // In WAL mode a commit that is not synced at once still survives a crash of the program.
        code = sqlite3_exec(db_, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
        if (code == SQLITE_OK || code == SQLITE_READONLY) {
            // A file only readable can still be listed; its first record is what fails.
            const int schema = sqlite3_exec(db_, kSchema, nullptr, nullptr, nullptr);
            code = schema == SQLITE_READONLY ? SQLITE_OK : schema;
        }
        return code;
    }

    void close() {
        if (db_ != nullptr) sqlite3_close(db_);
        db_ = nullptr;
    }

    void fail(int code) {
        warnOnce("the history file " + path_ + " cannot be used (" + sqlite3_errstr(code) +
                 "): this run is not recorded");
        close();
    }

    void warnOnce(const std::string& line) {
        if (warned_) return;
        warned_ = true;
        warn_(line);
    }

    std::string path_;
    HistoryWarning warn_;
    sqlite3* db_ = nullptr;
    bool warned_ = false;
};

}  // namespace

std::unique_ptr<HistoryStore> openSqliteHistory(const std::string& path, HistoryWarning warn) {
    auto store = std::make_unique<SqliteHistory>(path, std::move(warn));
    store->open();
    return store;
}

std::unique_ptr<HistoryStore> openHistoryForRuns(const std::string& path) {
    if (path.empty()) return nullptr;
    return openSqliteHistory(path, [](const std::string& line) {
        std::fprintf(stderr, "tarnwick: warning: %s\n", line.c_str());
        std::fflush(stderr);
    });
}

}  // namespace tarnwick
