// Loading a package through the main window: status lines, message pairs, component files.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package/package_fixture.h"
#include "support/window_fixture.h"

namespace tarnwick {
namespace {

using pkgbuild::PackageDescription;
using testing_package::fileBytes;
using testing_package::fileExists;
using testing_package::smallPackage;
using Strings = std::vector<std::string>;

constexpr const char* kHeaderFailed = "Processing error of file header reading!";
constexpr const char* kDataFailed = "Processing error of firmware data reading!";
constexpr const char* kDataError = "Reading error of firmware data!";

class PackageLoad : public test::WindowTest {
protected:
    test::TempDir scratch{"tarnwick-pkg"};
    test::ScopedEnv tmpdir{"TMPDIR", scratch.path()};

    std::string workDir() const { return scratch.file("OrvexWriter"); }
    std::string firmdata(int p) const { return workDir() + "/firmdata0" + std::to_string(p) + ".bin"; }

    int load(const PackageDescription& p) { return loadBytes(pkgbuild::buildPackage(p)); }
    int loadBytes(const std::vector<uint8_t>& bytes) {
        const std::string path = scratch.file("update.bin");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return loadFile(path);
    }
    int loadFile(const std::string& path) {
        dialog.boxes.clear();
        window->package.clear();
        window->updateFilePath = path;
        return window->loadUpdateFile();
    }
    void expectFailure(const PackageDescription& p, const Strings& boxes) {
        EXPECT_EQ(load(p), 0);
        EXPECT_EQ(dialog.boxTexts(), boxes);
        EXPECT_FALSE(dialog.statusOpen);
    }
};

TEST_F(PackageLoad, WritesOneFileOfExactlyTheComponentBytesPerComponent) {
    PackageDescription p = smallPackage();
    p.trailingBytes = {1, 2, 3, 4, 5};
    ASSERT_EQ(load(p), 1);
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_FALSE(dialog.statusOpen);
    EXPECT_EQ(window->workDir, workDir());
    Strings status;
    for (const test::RecordedStatus& s : dialog.statusLines) {
        EXPECT_EQ(s.showProgress, 0);
        status.push_back(s.text);
    }
    EXPECT_EQ(status, (Strings{"Loading of update file...", "Loading of update file. [01:MAIN]",
                               "Loading of update file. [11:DSP]", "Loading of update file. [21:PLD]"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->package.components[i].dataFilePath, firmdata(i));
        EXPECT_EQ(fileBytes(firmdata(i)), p.components[i].data) << i;
    }
    EXPECT_FALSE(fileExists(firmdata(3)));
}

TEST_F(PackageLoad, EmptyComponentLfOnlyAndSecondLoadsWriteTheRightFiles) {
    PackageDescription p = smallPackage();
    p.components[1].data.clear();  // endAddress = startAddress - 1
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(window->package.components[1].dataSize(), 0u);
    EXPECT_TRUE(fileExists(firmdata(1)));
    EXPECT_TRUE(fileBytes(firmdata(1)).empty());
    EXPECT_EQ(fileBytes(firmdata(2)), p.components[2].data);  // the empty one consumed nothing
    p.components[2].capacity = 0xFFFFFFFFu;  // a capacity exactly large enough passes
    EXPECT_EQ(load(p), 1);
    // Into the existing directory: the files are overwritten.
    p = smallPackage();
    p.lfOnly = true;
    p.components[0].data = pkgbuild::patternData(50, 99);
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(fileBytes(firmdata(0)), p.components[0].data);
    EXPECT_EQ(fileBytes(firmdata(2)), p.components[2].data);
}

TEST_F(PackageLoad, WorkDirectoryAndFileFailures) {
    {
        test::ScopedEnv missing("TMPDIR", scratch.file("missing/parent"));
        expectFailure(smallPackage(), {"Processing error of create work directory!"});
    }
    EXPECT_EQ(loadFile(scratch.file("no-such-file.bin")), 0);
    EXPECT_EQ(dialog.boxTexts(), (Strings{"Processing error of open update file!"}));
    EXPECT_FALSE(dialog.statusOpen);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Error);
}

// Each failure shows its own message, then the general one of its stage.
TEST_F(PackageLoad, FailuresShowTheSpecificThenTheGeneralMessage) {
    const struct {
        std::function<void(PackageDescription&)> edit;
        const char* specific;
        const char* general;
    } cases[] = {
        {[](auto& p) { p.toolId = " VORTAG3 B007"; }, "Format error of update file!", kHeaderFailed},
        {[](auto& p) { p.modelCode = "0001"; }, "The genre/model code is different!", kHeaderFailed},
        {[](auto& p) { p.componentCountField = 21; }, "The number error of firmware composition!", kHeaderFailed},
        {[](auto& p) { p.components[0].id = 0x56; }, "Target ID error!", kHeaderFailed},
        {[](auto& p) { p.componentCountField = 4; }, "Reading error of firmware information!", kHeaderFailed},
        {[](auto& p) { p.components[1].capacity = 776; }, kDataError, kDataFailed},  // one byte too small
        {[](auto& p) {  // the end wraps to 0xFFFFFFFF
             p.components[1].endAddress = p.components[1].startAddress - 2;
             p.components[1].capacity = 0x7FFFFFFF;
         },
         kDataError, kDataFailed},
    };
    for (const auto& c : cases) {
        PackageDescription p = smallPackage();
        c.edit(p);
        SCOPED_TRACE(c.specific);
        expectFailure(p, {c.specific, c.general});
    }
    EXPECT_EQ(loadBytes({'t', '\r', '\n'}), 0);
    EXPECT_EQ(dialog.boxTexts(), (Strings{"Reading error of update information!", kHeaderFailed}));
    std::string header = pkgbuild::headerText(smallPackage());
    header.resize(header.rfind("HEADER END"));
    EXPECT_EQ(loadBytes(std::vector<uint8_t>(header.begin(), header.end())), 0);
    EXPECT_EQ(dialog.boxTexts(), (Strings{"Reading error of other information!", kHeaderFailed}));
    // Quiet messages: the same result without boxes or tone.
    window->messagesQuiet = true;
    tone.played.clear();
    PackageDescription p = smallPackage();
    p.modelCode = "0001";
    EXPECT_EQ(load(p), 0);
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_TRUE(tone.played.empty());
}

TEST_F(PackageLoad, FailedDataKeepsEarlierFilesAndLeavesNoPartialOne) {
    PackageDescription p = smallPackage();
    ASSERT_EQ(load(p), 1);  // an earlier good load left firmdata02.bin behind
    std::vector<uint8_t> bytes = pkgbuild::buildPackage(p);
    bytes.resize(bytes.size() - 10);
    EXPECT_EQ(loadBytes(bytes), 0);
    EXPECT_EQ(dialog.boxTexts(), (Strings{kDataError, kDataFailed}));
    EXPECT_EQ(fileBytes(firmdata(1)), p.components[1].data);
    EXPECT_FALSE(fileExists(firmdata(2)));
    EXPECT_TRUE(window->package.components[2].dataFilePath.empty());
    // A component file that cannot be created: a directory is in the way.
    std::filesystem::remove_all(workDir());
    ASSERT_TRUE(std::filesystem::create_directories(firmdata(1)));
    expectFailure(p, {kDataError, kDataFailed});
    EXPECT_EQ(fileBytes(firmdata(0)), p.components[0].data);  // written before the failure
    EXPECT_TRUE(std::filesystem::is_directory(firmdata(1)));
}

TEST_F(PackageLoad, DeleteWorkFilesKeepsTheDirectoryAndOtherFiles) {
    ASSERT_EQ(load(smallPackage()), 1);
    const std::string verify = workDir() + "/verifydata00.bin";
    std::fclose(std::fopen(verify.c_str(), "wb"));
    window->deleteWorkFiles();
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(fileExists(firmdata(i)));
    EXPECT_TRUE(fileExists(verify));
    EXPECT_TRUE(std::filesystem::is_directory(workDir()));
    window->deleteWorkFiles();  // nothing left to delete: no complaint
    EXPECT_TRUE(dialog.boxes.empty());
}

TEST_F(PackageLoad, StationWorkDirectoryIsOneLevelBelowTheStationDirectory) {
    window->stationMode = true;
    window->stationDir = scratch.file("07");
    EXPECT_EQ(window->prepareWorkDir(), 0);  // the station directory is missing
    EXPECT_EQ(window->workDir, scratch.file("07") + "/Work");
    ASSERT_TRUE(std::filesystem::create_directory(scratch.file("07")));
    EXPECT_EQ(window->prepareWorkDir(), 1);
    EXPECT_TRUE(std::filesystem::is_directory(scratch.file("07/Work")));
}

TEST_F(PackageLoad, SamplePackageLoadsAndEveryComponentPassesItsCheck) {
    ASSERT_EQ(loadFile(TARNWICK_SAMPLE), 1);
    const UpdatePackage& pkg = window->package;
    EXPECT_EQ(pkg.modelName, "QT818LX");
    EXPECT_EQ(pkg.statusEntryCount, pkg.componentCount);
    EXPECT_EQ(pkg.commMask, 3u);
    EXPECT_EQ(pkg.baudIndex, 4);
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[kComponentBufferSize]);
    for (int p = 0; p < pkg.componentCount; ++p) {
        const ComponentEntry& c = pkg.components[static_cast<size_t>(p)];
        uint32_t length = 0;
        uint32_t sum = 0;
        EXPECT_EQ(window->loadComponentData(p, buffer.get(), length, sum), 1) << c.name;
        EXPECT_EQ(length, c.dataSize()) << c.name;
        EXPECT_NE(c.attributes & 7u, 0u) << c.name;  // RS-232C, Ethernet frames or TFTP
    }
}

}  // namespace
}  // namespace tarnwick
