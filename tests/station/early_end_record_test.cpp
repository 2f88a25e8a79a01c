// An update that ends before anything is sent is still kept in the history: its result, its
// error, the package's components not attempted, and no product.
#include <filesystem>

#include "history/sqlite_history.h"
#include "station/station.h"
#include "support/scoped_area.h"
#include "support/window_fixture.h"

namespace tarnwick::test {
namespace {

const struct {
    const char* frontEnd;
    bool station;  // a station whose directory holds no information file
    int code;
    std::string resultText, errorLines, packageFile;
} kCases[] = {
    {"window", false, 4, "Update target is not selected!", "", "pkg.bin"},
    {"station 01", true, 2, "File reading error!", "Update information file reading error!;", ""},
};

TEST_F(WindowTest, AnUpdateEndedBeforeItStartedIsRecorded) {
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.frontEnd);
        ScopedArea area;
        TempDir dir;
        ScopedEnv program("TARNWICK_PROGRAM_DIR", dir.path() + "/");
        std::filesystem::create_directory(dir.file("01"));
        const auto store = openSqliteHistory(dir.file("history.db"), nullptr);
        std::vector<std::string> args;
        if (c.station) args.push_back("/01");
        window = std::make_unique<MainWindow>(dialog, clock, tone, args);
        Station host(*window, dialog);
        window->history = store.get();
        window->frontEnd = c.frontEnd;
        window->station = c.station ? &host : nullptr;
        window->job.productModelText = "QT818LX";  // a product seen before is not this run's
        window->initDialog();
        if (!c.station) {
            addComponent(0, 0x01, "MAIN", 3);
            addComponent(1, 0x21, "PLD", 1);
            window->packageLoaded = true;
            dialog.controls.updateFilePath = "pkg.bin";
            window->onUpdate();
        }
        const std::vector<RunRecord> runs = store->queryRuns({});
        ASSERT_EQ(runs.size(), 1u);
        const RunRecord& run = runs[0];
        std::string errors, outcomes;
        for (const std::string& line : run.errorBoxes) errors += line + ";";
        for (const ComponentRecord& r : run.components) outcomes += std::string(outcomeName(r.outcome)) + ";";
        EXPECT_EQ(std::tie(run.resultCode, run.resultText, run.frontEnd, run.packageFile, errors, run.model, outcomes),
                  std::make_tuple(c.code, c.resultText, std::string(c.frontEnd), c.packageFile, c.errorLines, std::string(),
                                  std::string(c.station ? "" : "not attempted;not attempted;")));
        EXPECT_EQ(window->lastResultCode, c.code);
    }
}

}  // namespace
}  // namespace tarnwick::test
