// Loading a package through the main window: status lines, message pairs, component files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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
using testing_package::ScratchDir;
using testing_package::smallPackage;

constexpr const char* kHeaderFailed = "Processing error of file header reading!";
constexpr const char* kDataFailed = "Processing error of firmware data reading!";

class PackageLoad : public test::WindowTest {
protected:
    ScratchDir scratch;
    std::string savedTmp;
    bool hadTmp = false;

    void SetUp() override {
        const char* tmp = std::getenv("TMPDIR");
        hadTmp = tmp != nullptr;
        if (hadTmp) savedTmp = tmp;
        setenv("TMPDIR", scratch.path().c_str(), 1);
    }
    void TearDown() override {
        if (hadTmp) {
            setenv("TMPDIR", savedTmp.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }

    std::string workDir() const { return scratch.file("OrvexWriter"); }
    std::string firmdata(int p) const {
        char name[32];
        std::snprintf(name, sizeof name, "/firmdata%02d.bin", p);
        return workDir() + name;
    }

    int load(const PackageDescription& p) {
        const std::string path = scratch.file("update.bin");
        EXPECT_EQ(pkgbuild::writePackage(path, p), 1);
        return loadFile(path);
    }
    int loadBytes(const std::vector<uint8_t>& bytes) {
        const std::string path = scratch.file("update.bin");
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return loadFile(path);
    }
    int loadFile(const std::string& path) {
        window->package.clear();
        window->updateFilePath = path;
        return window->loadUpdateFile();
    }

    void expectFailure(const PackageDescription& p, const std::string& specific,
                       const std::string& general) {
        dialog.boxes.clear();
        EXPECT_EQ(load(p), 0);
        EXPECT_EQ(dialog.boxTexts(), (std::vector<std::string>{specific, general}));
        EXPECT_FALSE(dialog.statusOpen);
    }

    std::vector<std::string> statusTexts() const {
        std::vector<std::string> out;
        for (const test::RecordedStatus& s : dialog.statusLines) {
            EXPECT_EQ(s.showProgress, 0);
            out.push_back(s.text);
        }
        return out;
    }
};

TEST_F(PackageLoad, WritesOneFileOfExactlyTheComponentBytesPerComponent) {
    PackageDescription p = smallPackage();
    p.trailingBytes = {1, 2, 3, 4, 5};
    ASSERT_EQ(load(p), 1);
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_FALSE(dialog.statusOpen);
    EXPECT_EQ(window->workDir, workDir());
    EXPECT_EQ(statusTexts(), (std::vector<std::string>{"Loading of update file...",
                                                        "Loading of update file. [01:MAIN]",
                                                        "Loading of update file. [11:DSP]",
                                                        "Loading of update file. [21:PLD]"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->package.components[i].dataFilePath, firmdata(i));
        EXPECT_EQ(fileBytes(firmdata(i)), p.components[i].data) << i;
    }
    EXPECT_FALSE(fileExists(firmdata(3)));
}

TEST_F(PackageLoad, EmptyComponentGetsAnEmptyFileAndConsumesNothing) {
    PackageDescription p = smallPackage();
    p.components[1].data.clear();  // endAddress = startAddress - 1
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(window->package.components[1].dataSize(), 0u);
    EXPECT_TRUE(fileExists(firmdata(1)));
    EXPECT_TRUE(fileBytes(firmdata(1)).empty());
    EXPECT_EQ(fileBytes(firmdata(2)), p.components[2].data);
}

TEST_F(PackageLoad, SecondLoadIntoTheExistingDirectoryOverwritesTheFiles) {
    PackageDescription p = smallPackage();
    ASSERT_EQ(load(p), 1);
    p.components[0].data = pkgbuild::patternData(50, 99);
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(fileBytes(firmdata(0)), p.components[0].data);
}

TEST_F(PackageLoad, WorkDirectoryAndFileFailures) {
    setenv("TMPDIR", scratch.file("missing/parent").c_str(), 1);
    EXPECT_EQ(load(smallPackage()), 0);
    EXPECT_EQ(dialog.boxTexts(),
              (std::vector<std::string>{"Processing error of create work directory!"}));
    EXPECT_FALSE(dialog.statusOpen);

    setenv("TMPDIR", scratch.path().c_str(), 1);
    dialog.boxes.clear();
    EXPECT_EQ(loadFile(scratch.file("no-such-file.bin")), 0);
    EXPECT_EQ(dialog.boxTexts(), (std::vector<std::string>{"Processing error of open update file!"}));
    EXPECT_FALSE(dialog.statusOpen);
    EXPECT_EQ(dialog.boxes[0].kind, BoxKind::Error);
}

TEST_F(PackageLoad, HeaderFailuresShowTheSpecificThenTheGeneralMessage) {
    PackageDescription p = smallPackage();
    p.toolId = " VORTAG3 B007";
    expectFailure(p, "Format error of update file!", kHeaderFailed);

    p = smallPackage();
    p.modelCode = "0001";
    expectFailure(p, "The genre/model code is different!", kHeaderFailed);

    p = smallPackage();
    p.componentCountField = 21;
    expectFailure(p, "The number error of firmware composition!", kHeaderFailed);

    p = smallPackage();
    p.components[0].id = 0x56;
    expectFailure(p, "Target ID error!", kHeaderFailed);

    p = smallPackage();
    p.componentCountField = 4;
    expectFailure(p, "Reading error of firmware information!", kHeaderFailed);

    dialog.boxes.clear();
    EXPECT_EQ(loadBytes({'t', '\r', '\n'}), 0);
    EXPECT_EQ(dialog.boxTexts(),
              (std::vector<std::string>{"Reading error of update information!", kHeaderFailed}));

    std::string header = pkgbuild::headerText(smallPackage());
    header.resize(header.rfind("HEADER END"));
    dialog.boxes.clear();
    EXPECT_EQ(loadBytes(std::vector<uint8_t>(header.begin(), header.end())), 0);
    EXPECT_EQ(dialog.boxTexts(),
              (std::vector<std::string>{"Reading error of other information!", kHeaderFailed}));
}

TEST_F(PackageLoad, DataFailures) {
    PackageDescription p = smallPackage();
    p.components[1].capacity = 776;  // one byte too small
    expectFailure(p, "Reading error of firmware data!", kDataFailed);
    EXPECT_EQ(fileBytes(firmdata(0)), p.components[0].data);  // written before the failure

    p = smallPackage();
    p.components[1].endAddress = p.components[1].startAddress - 2;  // wraps to 0xFFFFFFFF
    p.components[1].capacity = 0x7FFFFFFF;
    expectFailure(p, "Reading error of firmware data!", kDataFailed);

    p = smallPackage();
    p.components[2].capacity = 0xFFFFFFFFu;  // capacity exactly large enough passes
    EXPECT_EQ(load(p), 1);
}

TEST_F(PackageLoad, TruncatedPackageLeavesNoPartialComponentFile) {
    PackageDescription p = smallPackage();
    ASSERT_EQ(load(p), 1);  // an earlier good load left firmdata02.bin behind
    std::vector<uint8_t> bytes = pkgbuild::buildPackage(p);
    bytes.resize(bytes.size() - 10);
    dialog.boxes.clear();
    EXPECT_EQ(loadBytes(bytes), 0);
    EXPECT_EQ(dialog.boxTexts(),
              (std::vector<std::string>{"Reading error of firmware data!", kDataFailed}));
    EXPECT_EQ(fileBytes(firmdata(1)), p.components[1].data);
    EXPECT_FALSE(fileExists(firmdata(2)));
    EXPECT_TRUE(window->package.components[2].dataFilePath.empty());
}

TEST_F(PackageLoad, ComponentFileThatCannotBeCreatedFails) {
    ASSERT_TRUE(std::filesystem::create_directories(firmdata(1)));  // a directory in the way
    expectFailure(smallPackage(), "Reading error of firmware data!", kDataFailed);
    EXPECT_TRUE(std::filesystem::is_directory(firmdata(1)));
}

TEST_F(PackageLoad, QuietMessagesGiveTheSameResultWithoutBoxes) {
    window->messagesQuiet = true;
    PackageDescription p = smallPackage();
    p.modelCode = "0001";
    EXPECT_EQ(load(p), 0);
    EXPECT_TRUE(dialog.boxes.empty());
    EXPECT_TRUE(tone.played.empty());
}

TEST_F(PackageLoad, DeleteWorkFilesKeepsTheDirectoryAndOtherFiles) {
    ASSERT_EQ(load(smallPackage()), 1);
    const std::string verify = workDir() + "/verifydata00.bin";
    std::FILE* f = std::fopen(verify.c_str(), "wb");
    std::fclose(f);
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
        // written over RS-232C, or over Ethernet by frames or by TFTP
        EXPECT_NE(c.attributes & 7u, 0u) << c.name;
    }
}

TEST_F(PackageLoad, LfOnlyPackageLoads) {
    PackageDescription p = smallPackage();
    p.lfOnly = true;
    ASSERT_EQ(load(p), 1);
    EXPECT_EQ(fileBytes(firmdata(2)), p.components[2].data);
}

}  // namespace
}  // namespace tarnwick
