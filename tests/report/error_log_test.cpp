// The station's error log files: their names and their exact bytes.
#include <gtest/gtest.h>

#include <string>

#include "report/error_log.h"
#include "support/stream_text.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

constexpr const char* kFirmware = "Firmware\x96\xBC;";
constexpr const char* kProgress = "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x67\x90\x69\x92\xBB\x8F\xF3\x8B\xB5;";
constexpr const char* kMessage = "\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57;";


class ErrorLogTest : public ::testing::Test {
protected:
    TempDir dir{"tarnwick-log"};
    UpdatePackage package;
    LocalTime time{2026, 12, 5, 21, 30, 0};
    std::FILE* err = std::tmpfile();

    void SetUp() override {
        package.positionOfId[0x11] = 0;
        package.components[0].name = "DSP";
        package.componentCount = 1;
    }
    void TearDown() override { std::fclose(err); }
    int log(const std::string& text, uint32_t targetId, int32_t progress) {
        return writeErrorLogFile(composeErrorLog(dir.path(), 5, package, text, targetId, progress, time), err);
    }
};

TEST_F(ErrorLogTest, ExactBytesOfRecords) {
    const std::string line = "No[05],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]";
    EXPECT_EQ(log("No[05],Target[DSP],Process[Update of target],Error[Unknown error!]", 0x11, 37), 1);
    EXPECT_EQ(slurp(dir.file("20261205213000Error05.txt")),
              std::string(kFirmware) + "DSP\r\n" + kProgress + "37\r\n" + kMessage +
                  "No[05],Target[DSP],Process[Update of target],Error[Unknown error!]\r\n");
    time.second = 1;
    EXPECT_EQ(log(line, 42, -3), 1);  // the file names the target in decimal, the line in hexadecimal
    EXPECT_EQ(slurp(dir.file("20261205213001Error05.txt")),
              std::string(kFirmware) + "ID:42\r\n" + kProgress + "-3\r\n" + kMessage + line + "\r\n");
    EXPECT_EQ(streamText(err), "");
}

}  // namespace
}  // namespace tarnwick::test
