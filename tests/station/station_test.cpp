// What a station reads for itself (information file, update file on its drive, address)
// and what it writes into its slot of the shared status area.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <fstream>

#include "station/station_info.h"
#include "station/station_slot.h"
#include "support/scoped_area.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(StationInfoFile, KeyRules) {
    const struct { std::string text; int result; std::string ip, drive; bool skip; } cases[] = {
        {"IPAddress;192.168.0.10\r\nSkip;ON\r\nDrive;/media/line\r\n", 1, "192.168.0.10", "/media/line", true},
        {"IPAddress;192.168.0.10\r\nSkip;ON\r\nDrive;/a\r\nDrive;/b\r\n", 0, "192.168.0.10", "/b", true},
        {"IPAddress;10.0.0.5 \t \r\nSkip;ON  \nDrive;/d  \n", 1, "10.0.0.5", "/d", true},
        {"IPAddress ;10.0.0.5\nSkip;ON\nDrive;/d\n", 0, "", "/d", true},
        {";Skip;ON\nSkip\nskip;ON\nIPAddress;1.2.3.4\nSkip;on\nDrive; /d;e\n", 1, "1.2.3.4", " /d;e", false},
        {"Skip;ON\nSkip;OFF\nIPAddress;1.2.3.4", 1, "1.2.3.4", "/", false},  // no Drive: the drive stays
    };
    TempDir dir;
    for (const auto& c : cases) {
        writeFile(dir.file("info.txt"), c.text);
        StationInfo info;
        info.drive = "/";
        EXPECT_EQ(readStationInfo(dir.file("info.txt"), info), c.result) << c.text;
        EXPECT_EQ(std::tie(info.ipText, info.drive, info.skip), std::tie(c.ip, c.drive, c.skip)) << c.text;
    }
    StationInfo info;
    EXPECT_EQ(readStationInfo(dir.file("missing.txt"), info), 0);
}

TEST(StationDrive, LastNonDirectoryBinTheDirectoryListsWins) {
    TempDir dir;
    fs::create_directory(dir.file("x.bin"));
    std::string found = "unchanged";
    EXPECT_EQ(findUpdateFile(dir.path(), found), 0);
    EXPECT_EQ(found, "unchanged");
    for (const char* name : {"a.bin", "b.bin", "c.txt", "d.bin.old"}) writeFile(dir.file(name), "x");
    std::string expected;
    for (const auto& entry : fs::directory_iterator(dir.path()))  // the directory's own order
        if (entry.path().extension() == ".bin" && !entry.is_directory()) expected = entry.path().string();
    EXPECT_EQ(findUpdateFile(dir.path() + "/", found), 1);
    EXPECT_TRUE(fs::path(found) == fs::path(expected)) << found << " is not " << expected;
}

TEST(StationSlot, StationsOneAndTwentyAtTheirOffsetsOfTheNamedArea) {
    ScopedArea scoped;
    SharedArea writer, reader;
    ASSERT_EQ(writer.create(sharedAreaName(), kSharedAreaSize), SharedArea::Result::Mapped) << writer.lastError();
    SlotWriter(writer.writableData(), 1).writeStatus("Updating...", "01/03 MAIN", 50);
    SlotWriter(writer.writableData(), 20).writeStatus("Verifying...", "03/03 DSP", 0x01020304);
    ASSERT_EQ(reader.openReadOnly(scoped.name(), kSharedAreaSize), SharedArea::Result::Mapped);
    const uint8_t* area = reader.data();
    EXPECT_STREQ(reinterpret_cast<const char*>(area), "Updating...");
    EXPECT_STREQ(reinterpret_cast<const char*>(area + 528), "01/03 MAIN");
    EXPECT_EQ(area[560], 50);
    EXPECT_STREQ(reinterpret_cast<const char*>(area + 10716), "Verifying...");
    EXPECT_STREQ(reinterpret_cast<const char*>(area + 10716 + 528), "03/03 DSP");
    EXPECT_EQ((std::array<uint8_t, 4>{area[11276], area[11277], area[11278], area[11279]}), (std::array<uint8_t, 4>{4, 3, 2, 1}));
#ifndef _WIN32  // a Windows area is no file: it lives in the paging file
    struct stat st {};
    EXPECT_EQ(stat(("/dev/shm" + scoped.name()).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_EQ(st.st_size, 11280);
#endif
}

TEST(StationSlot, StatusClearsTheErrorLineAndResultWordsKeepIt) {
    std::array<uint8_t, kSharedAreaSize> area{};
    SlotWriter slot(area.data(), 3);
    slot.writeStatus("A long label of thirty", std::string(40, 't'), 80);
    slot.writeMessage("No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]");
    slot.writeResult(6);
    SlotContent seen = readSlot(stationSlot(area.data(), 3));
    EXPECT_EQ(seen.label + "|" + seen.target + "|" + std::to_string(seen.percent),
              "ERROR|" + std::string(31, 't') + "|80");
    EXPECT_EQ(seen.message, "No[03],Target[ID:2A],Process[Switch of target],Error[Communication retry error!]");
    slot.writeStatus("Verifying...", "", 5);
    EXPECT_EQ(std::count(area.begin() + 2 * 564 + 16, area.begin() + 2 * 564 + 528, 0), 512);
    slot.writeMessage(std::string(600, 'm'));  // cut to the field, terminated inside it
    slot.writeResult(0);
    seen = readSlot(stationSlot(area.data(), 3));
    EXPECT_EQ(seen.label + "|" + seen.message, "SUCCESS|" + std::string(511, 'm'));
    EXPECT_TRUE(readSlot(stationSlot(area.data(), 4)).idle);
    EXPECT_TRUE(stationSlot(area.data(), 0) == nullptr && stationSlot(area.data(), 21) == nullptr);
}

}  // namespace
}  // namespace tarnwick::test
