// `tarnwick /NN` as a process: the argument judged before anything else, the
// single-instance lock, and the station's result in its slot and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "package/station_slot.h"
#include "platform/posix/instance_lock.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

class StationProcess : public ::testing::Test {
protected:
    ScopedArea area;
    TempDir dir{"tarnwick-station"};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", dir.path()};
    ScopedEnv program{"TARNWICK_PROGRAM_DIR", dir.path() + "/"};
    ScopedEnv ports{"TARNWICK_SERIAL_PORTS", dir.file("no-such-tty")};
    std::string err;

    int run(const std::string& arg) {
        const std::string command = std::string("TARNWICK_TIME_SCALE=0 '") + TARNWICK_BINARY + "' '" + arg +
                                    "' </dev/null >/dev/null 2>'" + dir.file("err.txt") + "'";
        const int raw = std::system(command.c_str());
        std::ifstream in(dir.file("err.txt"));
        std::stringstream text;
        text << in.rdbuf();
        err = text.str();
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    bool areaExists() {
        SharedArea reader;
        return reader.openReadOnly(area.name(), kSharedAreaSize) == SharedArea::Result::Mapped;
    }
};

TEST_F(StationProcess, ABadStationIsRefusedBeforeTheLockAndTheArea) {
    InstanceLock held;
    ASSERT_EQ(held.acquire(), InstanceLock::Result::Acquired);
    for (const char* arg : {"/00", "/21", "/99", "/5", "/123", "/a1", "/"}) {
        EXPECT_EQ(run(arg), 64) << arg;
        EXPECT_NE(err.find(std::string("'") + arg + "'"), std::string::npos) << err;
        EXPECT_EQ(err.find("already been executed"), std::string::npos) << arg;
    }
    EXPECT_FALSE(areaExists());
}

TEST_F(StationProcess, ASecondCopyIsRefusedAndAFreeStationRuns) {
    std::filesystem::create_directory(dir.file("01"));
    {
        InstanceLock held;
        ASSERT_EQ(held.acquire(), InstanceLock::Result::Acquired);
        EXPECT_EQ(run("/01"), 1);
        EXPECT_EQ(err, "[error]\nThis software has already been executed.\n");
        EXPECT_FALSE(areaExists());
    }
    EXPECT_EQ(run("/01"), 2);  // no information file
    EXPECT_EQ(err, "[error]\nProcessing error of Open update info file!\n");
    SharedArea reader;
    ASSERT_EQ(reader.openReadOnly(area.name(), kSharedAreaSize), SharedArea::Result::Mapped);
    EXPECT_EQ(readSlot(stationSlot(reader.data(), 1)).label, "ERROR");
    int logs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("01"))) logs += entry.is_regular_file();
    EXPECT_EQ(logs, 1);
}

}  // namespace
}  // namespace tarnwick::test
