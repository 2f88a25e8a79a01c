// `tarnwick /NN` as a process: the argument judged before anything else, the
// single-instance lock, and the station's result in its slot and its exit status.
#include <gtest/gtest.h>

#include <future>

#include "e2e/program_run.h"
#include "station/station_slot.h"
#include "platform/instance_lock.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

TEST(StationProcess, BadArgumentFirstThenTheLockThenTheRun) {
    ScopedArea area;
    TempDir dir;
    ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path()), program("TARNWICK_PROGRAM_DIR", dir.path() + "/"),
        ports("TARNWICK_SERIAL_PORTS", dir.file("no-tty"));
    std::string out, err;
    auto run = [&](const std::string& arg) { return runProgram("'" + arg + "'", dir.path(), out, err); };
    std::filesystem::create_directory(dir.file("01"));
    {
        InstanceLock held;
        ASSERT_EQ(held.acquire(), InstanceLock::Result::Acquired);
        for (const char* arg : {"/00", "/21", "/5", "/123", "/a1", "/", "/001", "/99"}) {
            EXPECT_EQ(run(arg), 64) << arg;
            EXPECT_NE(err.find(std::string("'") + arg + "'"), std::string::npos) << err;
        }
        EXPECT_EQ(err, "tarnwick: there is no station '/99': the line has the stations /01 to /20\n");
        // Help is printed without taking the lock; anything else after the station is refused.
        EXPECT_EQ(runProgram("/05 --help", dir.path(), out, err), 0);
        EXPECT_EQ(out.rfind("Usage: tarnwick /NN", 0), 0u) << out;
        EXPECT_EQ(runProgram("/05 --once", dir.path(), out, err), 64);
        EXPECT_NE(err.find("'--once'"), std::string::npos) << err;
        EXPECT_EQ(run("/01' '--wait=x"), 64);
        EXPECT_EQ(run("/20"), 75);  // the last station, judged valid, meets the lock: busy, not failed
        EXPECT_EQ(run("/01' '--wait=0"), 75);
        EXPECT_EQ(err.rfind("[error]\nThis software has already been executed.\ntarnwick: busy:", 0), 0u) << err;
        EXPECT_NE(SharedArea().openReadOnly(area.name(), kSharedAreaSize), SharedArea::Result::Mapped);
        std::string queuedErr;
        auto queued = std::async(std::launch::async, [&] { return runProgram("/02 --wait", dir.path(), out, queuedErr); });
        held.release();
        EXPECT_EQ(queued.get(), 2);  // it ran once the lock was free: no information file
    }
    // No information file: its slot and error log are asserted in the station's run.
    EXPECT_EQ(run("/01"), 2);
    EXPECT_EQ(err, "[error]\nProcessing error of Open update info file!\n");
}

}  // namespace
}  // namespace tarnwick::test
