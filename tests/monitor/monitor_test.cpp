// `tarnwick monitor` on an area prepared as stations leave it, and the station argument.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sstream>

#include "cli/command_line.h"
#include "monitor/monitor_command.h"
#include "station/station_slot.h"
#include "platform/station_lock.h"
#include "support/scoped_area.h"
#include "support/stream_text.h"
#include "support/test_clock.h"

namespace tarnwick::test {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// A clock whose n-th sleep runs steps[n].
struct ScriptedClock : VirtualClock {
    std::vector<std::function<void()>> steps;
    size_t sleeps = 0;
    void sleepMs(uint32_t ms) override {
        VirtualClock::sleepMs(ms);
        if (sleeps < steps.size()) steps[sleeps]();
        ++sleeps;
    }
};

class MonitorTest : public ::testing::Test {
protected:
    ScopedArea scoped;
    SharedArea station;
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();

    void TearDown() override {
        std::fclose(out);
        std::fclose(err);
    }
    void prepareArea() {
        ASSERT_EQ(station.create(scoped.name(), kSharedAreaSize), SharedArea::Result::Mapped);
        SlotWriter(station.writableData(), 1).writeStatus("Reboot Apl Mode", "", 40);
        SlotWriter(station.writableData(), 1).writeResult(0);
        SlotWriter three(station.writableData(), 3);
        three.writeStatus("Switching...", "ID:2A->", 20);
        three.writeMessage("No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]");
        three.writeResult(6);
        SlotWriter(station.writableData(), 20).writeStatus("Say \"\\\x1b[2J\"", "\xE3\x83\x86\xFF", 57);
    }
    std::vector<std::string> run(const std::vector<std::string>& args, int status) {
        EXPECT_EQ(runCommandLine(args, CommandIo{out, err, nullptr}), status);
        return lines(streamText(out));
    }
};

// Station 3 has a process; station 20 shows a status with none behind it; "SUCCESS" is
// drawn full whatever percent its station left.
TEST_F(MonitorTest, JsonDocumentAndTableOfAPreparedArea) {
    prepareArea();
    TempDir runtime;
    ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.path());
    StationLock three;
    ASSERT_EQ(three.acquire(3), StationLock::Result::Acquired);
    const std::vector<std::string> doc = run({"monitor", "--json"}, 0);
    ASSERT_EQ(doc.size(), 22u);
    EXPECT_EQ(doc[3], R"(  {"number": 3, "label": "ERROR", "target": "ID:2A->", "percent": 20, "error": )"
                      R"("No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]", "idle": false, )"
                      R"("running": true, "state": "running", "changed": null},)");
    EXPECT_EQ(doc[20], "  {\"number\": 20, \"label\": \"Say \\\"\\\\\\u001b[2J\\\"\", \"target\": \"\xE3\x83\x86\\ufffd\", "
                       "\"percent\": 57, \"error\": \"\", \"idle\": false, \"running\": false, \"state\": \"stopped\", \"changed\": null}");
    EXPECT_EQ(doc[0] + doc[21], "[]");

    std::freopen(nullptr, "w+", out);
    const std::vector<std::string> table = run({"monitor", "--once"}, 0);
    ASSERT_EQ(table.size(), 22u);
    EXPECT_EQ(table[0], "No  State           Target                          Progress                    Station  Changed");
    EXPECT_EQ(table[1], "01  SUCCESS                                         [####################] 100% idle     -");
    EXPECT_EQ(table[2], "02  idle");
    EXPECT_EQ(table[3], "03  ERROR           ID:2A->                         [####----------------]  20% running  -");
    EXPECT_EQ(table[4], "    No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]");
    EXPECT_EQ(table[21], "20  Say \"\\?[2J\"     \xE3\x83\x86\xFF                            [###########---------]  57% stopped  -");
}

TEST_F(MonitorTest, SnapshotsWithoutAnAreaExitOne) {
    EXPECT_TRUE(run({"monitor", "--once"}, 1).empty());
    EXPECT_TRUE(run({"monitor", "--json"}, 1).empty());
    EXPECT_EQ(lines(streamText(err)), std::vector<std::string>(2, "No shared status area " + scoped.name() +
                                                                        " yet: no station has run."));
}

TEST_F(MonitorTest, WatchWaitsForTheAreaPrintsChangesAndEndsAtInterrupt) {
    ScriptedClock clock;
    clock.steps = {[] {}, [this] { prepareArea(); }, [] {},
                   [this] { SlotWriter(station.writableData(), 2).writeStatus("Loading file...", "", 0); },
                   [] { std::raise(SIGINT); }};
    EXPECT_EQ(runMonitor(MonitorOptions{}, scoped.name(), clock, MonitorIo{out, err}, false), 0);
    EXPECT_EQ(clock.sleeps, 5u);
    EXPECT_EQ(streamText(err), "No shared status area " + scoped.name() + " yet: waiting for a station (Ctrl-C ends).\n");
    const std::vector<std::string> shown = lines(streamText(out));
    ASSERT_EQ(shown.size(), 2u * 23u);  // two different tables, each followed by a blank line
    EXPECT_EQ(shown[2], "02  idle");
    EXPECT_EQ(shown[23 + 2], "02  Loading file...                                 [--------------------]   0% stopped  0s ago");
    struct sigaction now {};  // SIGINT's earlier handling is back
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
}  // namespace tarnwick::test
