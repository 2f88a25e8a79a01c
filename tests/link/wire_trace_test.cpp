#include <fstream>
#include <sstream>

#include "support/link_fixture.h"

namespace tarnwick::test {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

using WireTraceTest = LinkTest;

TEST_F(WireTraceTest, LogsBytesFramesAndLinesWithTimes) {
    std::string path = ::testing::TempDir() + "wire_trace_test.log";
    ASSERT_TRUE(link->setTrace(path));
    answerInTurn({{0x55, 0xAA, 'C', 0x01, 0xEE}, bytesOf("RBSTART\r")});
    clock.now = 1234;
    link->connectTarget(0x01, 5);
    link->enterNormalMode();
    const uint8_t data[2] = {1, 2};
    link->writeData(0x27, 0x10, 0x11, data, 2);
    link->setTrace("");
    std::string log = readFile(path);
    for (const char* entry : {"     1.234 TX AA 43 01 EE", "frame 'C' id=01", "RX 55 AA 43 01 EE", "-> ConnectReply",
                              "text \"RBNORM\\r\"", "line \"RBSTART\\r\" -> line",
                              "frame 'P' id=27 state=3 len=2 addr=00000010", "-> TimedOut"}) {
        EXPECT_NE(log.find(entry), std::string::npos) << entry << "\n" << log;
    }
}

TEST_F(WireTraceTest, UnwritableFileLeavesTheTraceOff) {
    EXPECT_FALSE(link->setTrace("/nonexistent-dir/trace.log"));
    answerAlways(buildFrame('C', 0x01));
    EXPECT_EQ(link->connectTarget(0x01, 5), 1);
}

}  // namespace
}  // namespace tarnwick::test
