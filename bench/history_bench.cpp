// The history's cost: the time recording adds to one run (goal: under 5 ms), and a query
// by serial number over 100,000 stored runs (goal: under 50 ms, with the serial index).
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "history/sqlite_history.h"

namespace {

using Ms = std::chrono::duration<double, std::milli>;

constexpr int kStoredRuns = 100000;
constexpr int kTimedRecords = 200;
constexpr int kTimedQueries = 50;

tarnwick::RunRecord sampleRun(int n) {
    tarnwick::RunRecord r;
    char serial[16];
    std::snprintf(serial, sizeof serial, "TW%07d", n % 20000);
    r.serialNumber = serial;
    r.startUtc = "2026-12-08T10:" + std::to_string(10 + n % 50) + ":00Z";
    r.endUtc = r.startUtc;
    r.model = "TWK-7000";
    r.link = "/dev/ttyUSB0 115200 bit/s";
    r.packageId = "0102";
    r.resultCode = n % 7 == 0 ? 1 : 0;
    for (uint8_t id : {0x01, 0x02, 0x11, 0x21, 0x31, 0x41, 0x42}) {
        tarnwick::ComponentRecord c;
        c.id = id;
        c.name = "COMPONENT";
        c.packageVersion = "0104";
        c.productVersion = "0100";
        c.outcome = tarnwick::ComponentOutcome::Updated;
        c.check = "checksum";
        r.components.push_back(c);
    }
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    char dir[] = "/tmp/tarnwick-history-bench-XXXXXX";
    if (mkdtemp(dir) == nullptr) return 1;
    const std::string path = std::string(dir) + "/history.db";
    auto store = tarnwick::openSqliteHistory(path, [](const std::string& w) { std::fprintf(stderr, "%s\n", w.c_str()); });

    std::vector<double> record;
    for (int i = 0; i < kTimedRecords; ++i) {
        const tarnwick::RunRecord run = sampleRun(i);
        const auto start = std::chrono::steady_clock::now();
        if (store->recordRun(run) == 0) return 1;
        record.push_back(Ms(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("record one run (7 components): median %.3f ms, worst %.3f ms (goal < 5 ms)\n", median(record),
                *std::max_element(record.begin(), record.end()));

    for (int i = kTimedRecords; i < kStoredRuns; ++i) store->recordRun(sampleRun(i));
    std::vector<double> query;
    size_t found = 0;
    for (int i = 0; i < kTimedQueries; ++i) {
        tarnwick::HistoryQuery q;
        q.serialNumber = sampleRun(i * 397).serialNumber;
        const auto start = std::chrono::steady_clock::now();
        found += store->queryRuns(q).size();
        query.push_back(Ms(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("query by serial over %d runs: median %.3f ms, worst %.3f ms, %.1f runs each (goal < 50 ms)\n",
                kStoredRuns, median(query), *std::max_element(query.begin(), query.end()),
                static_cast<double>(found) / kTimedQueries);
    store.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) unlink((path + suffix).c_str());
    rmdir(dir);
    return 0;
}
