// The station's error log files: their names, their exact bytes, and the first record of a
// second winning.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "report/error_log.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string streamText(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

class ErrorLogTest : public ::testing::Test {
protected:
    TempDir dir{"tarnwick-log"};
    UpdatePackage package;
    LocalTime time{2026, 12, 5, 21, 30, 0};
    std::FILE* err = std::tmpfile();

    void SetUp() override {
        package.order[0] = 0x11;
        package.positionOfId[0x11] = 0;
        package.components[0].id = 0x11;
        package.components[0].name = "DSP";
        package.componentCount = 1;
    }
    void TearDown() override { std::fclose(err); }
    int log(const std::string& text, uint32_t targetId, int32_t progress) {
        return writeErrorLogFile(composeErrorLog(dir.path(), 5, package, text, targetId, progress, time), err);
    }
};

TEST_F(ErrorLogTest, ExactBytesOfARecord) {
    EXPECT_EQ(log("No[05],Target[DSP],Process[Update of target],Error[Communication timeout error!]", 0x11, 37), 1);
    EXPECT_EQ(fileText(dir.file("20261205213000Error05.txt")),
              "Firmware\x96\xBC;DSP\r\n"
              "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x67\x90\x69\x92\xBB\x8F\xF3\x8B\xB5;37\r\n"
              "\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57;"
              "No[05],Target[DSP],Process[Update of target],Error[Communication timeout error!]\r\n");
    EXPECT_EQ(streamText(err), "");
}

TEST_F(ErrorLogTest, TargetNamesAreDecimalInTheFile) {
    struct Case {
        uint32_t targetId;
        int32_t progress;
        std::string firstLine;
        std::string secondValue;
    };
    const Case cases[] = {
        {42, 0, "Firmware\x96\xBC;ID:42\r\n", ";0\r\n"},
        {0x1FF, -3, "Firmware\x96\xBC;ID:255\r\n", ";-3\r\n"},
        {0x111, 100, "Firmware\x96\xBC;DSP\r\n", ";100\r\n"},
    };
    for (const Case& c : cases) {
        const std::string message = "No[05],Target[ID:2A],Process[Switch of target],Error[Unknown error!]";
        const std::string content = composeErrorLog(dir.path(), 5, package, message, c.targetId, c.progress, time).content;
        EXPECT_EQ(content.substr(0, c.firstLine.size()), c.firstLine) << c.targetId;
        EXPECT_NE(content.find(c.secondValue), std::string::npos) << c.targetId;
        EXPECT_EQ(content.substr(content.size() - message.size() - 2), message + "\r\n") << c.targetId;
    }
}

TEST_F(ErrorLogTest, TheFirstRecordOfASecondStays) {
    EXPECT_EQ(log("Update information file reading error!", 1, 0), 1);
    EXPECT_EQ(log("Update file is not found!", 1, 0), 1);
    EXPECT_NE(fileText(dir.file("20261205213000Error05.txt")).find(";Update information file reading error!\r\n"),
              std::string::npos);
    EXPECT_EQ(fileText(dir.file("20261205213000Error05.txt")).find("not found"), std::string::npos);

    time.second = 1;  // an empty file of the name (an earlier write that failed) is written
    std::ofstream(dir.file("20261205213001Error05.txt")).close();
    EXPECT_EQ(log("Update file is not found!", 1, 0), 1);
    EXPECT_NE(fileText(dir.file("20261205213001Error05.txt")).find("not found"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(ErrorLogTest, AMissingStationDirectoryIsReportedNotCreated) {
    const ErrorLogRecord record = composeErrorLog(dir.file("07"), 7, package, "Update file reading error!", 1, 0, time);
    EXPECT_EQ(record.path, dir.file("07") + "/20261205213000Error07.txt");
    EXPECT_EQ(writeErrorLogFile(record, err), 0);
    EXPECT_EQ(streamText(err).rfind("It failed in opening of log file.\n", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("07")));
}

}  // namespace
}  // namespace tarnwick::test
