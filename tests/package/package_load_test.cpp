// Loading a package: status lines, message pairs, component files.
#include "package/package_loader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "package/package_fixture.h"

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

struct RecordingSink : LoadSink {
    Strings status;
    Strings failures;
    void loadStatus(const std::string& line) override { status.push_back(line); }
    void loadFailure(const std::string& message) override { failures.push_back(message); }
};

class PackageLoad : public ::testing::Test {
protected:
    test::TempDir scratch{"tarnwick-pkg"};
    RecordingSink sink;
    UpdatePackage package;

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
    int loadFile(const std::string& path, const std::string& dir = "") {
        sink = {};
        package.clear();
        return loadPackage(path, dir.empty() ? workDir() : dir, package, sink);
    }
};

// An empty component writes an empty file and consumes nothing of the next one.
TEST_F(PackageLoad, WritesOneFileOfExactlyTheComponentBytesPerComponent) {
    PackageDescription p = smallPackage();
    p.trailingBytes = {1, 2, 3, 4, 5};
    p.components[1].data.clear();  // endAddress = startAddress - 1
    ASSERT_EQ(load(p), 1);
    EXPECT_TRUE(sink.failures.empty());
    EXPECT_EQ(sink.status, (Strings{"Loading of update file...", "Loading of update file. [01:MAIN]",
                                    "Loading of update file. [11:DSP]", "Loading of update file. [21:PLD]"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(package.components[i].dataFilePath, firmdata(i));
        EXPECT_EQ(fileBytes(firmdata(i)), p.components[i].data) << i;
    }
    EXPECT_FALSE(fileExists(firmdata(3)));
}

// Each failure gives its own message, then the general one of its stage.
TEST_F(PackageLoad, FailuresGiveTheSpecificThenTheGeneralMessage) {
    const struct { std::function<void(PackageDescription&)> edit; const char* specific; const char* general; } cases[] = {
        {[](auto& p) { p.modelCode = "0001"; }, "The genre/model code is different!", kHeaderFailed},
        {[](auto& p) { p.components[1].capacity = 776; }, kDataError, kDataFailed},  // one byte too small
        {[](auto& p) { p.components[1].endAddress = p.components[1].startAddress - 2, p.components[1].capacity = 0x7FFFFFFF; },
         kDataError, kDataFailed},  // the end wraps to 0xFFFFFFFF
    };
    for (const auto& c : cases) {
        PackageDescription p = smallPackage();
        c.edit(p);
        EXPECT_EQ(load(p), 0) << c.specific;
        EXPECT_EQ(sink.failures, (Strings{c.specific, c.general}));
    }
    EXPECT_EQ(loadFile(scratch.file("no-such-file.bin")), 0);
    EXPECT_EQ(sink.failures, (Strings{"Processing error of open update file!"}));
    EXPECT_EQ(loadFile(scratch.file("update.bin"), scratch.file("missing/OrvexWriter")), 0);
    EXPECT_EQ(sink.failures, (Strings{"Processing error of create work directory!"}));
}

TEST_F(PackageLoad, FailedDataKeepsEarlierFilesAndLeavesNoPartialOne) {
    PackageDescription p = smallPackage();
    ASSERT_EQ(load(p), 1);  // an earlier good load left firmdata02.bin behind
    std::vector<uint8_t> bytes = pkgbuild::buildPackage(p);
    bytes.resize(bytes.size() - 10);
    EXPECT_EQ(loadBytes(bytes), 0);
    EXPECT_EQ(sink.failures, (Strings{kDataError, kDataFailed}));
    EXPECT_EQ(fileBytes(firmdata(1)), p.components[1].data);
    EXPECT_FALSE(fileExists(firmdata(2)));
    EXPECT_TRUE(package.components[2].dataFilePath.empty());
}

// A work directory another user could plant or swap files in is refused; one made by the
// load is the user's alone, and a link planted under a component's name is replaced, not
// followed.
TEST_F(PackageLoad, WorkDirectoryAndFilesCannotBeTurnedAgainstTheUser) {
    namespace fs = std::filesystem;
    const struct { const char* name; std::function<void(const std::string& dir)> plant; } refused[] = {
        {"WritableByOthers", [](const std::string& d) { fs::create_directory(d); fs::permissions(d, fs::perms::all); }},
        {"WritableByGroup", [](const std::string& d) { fs::create_directory(d); fs::permissions(d, fs::perms::owner_all | fs::perms::group_write); }},
        {"LinkToADirectory", [](const std::string& d) { fs::create_directory(d + "-real"); fs::create_directory_symlink(d + "-real", d); }},
        {"OwnedBySomeoneElse", [](const std::string& d) { fs::create_directory(d, fs::path(d).parent_path()); (void)chown(d.c_str(), 65534, 65534); fs::permissions(d, fs::perms::owner_all); }},
    };
    for (const auto& c : refused) {
        fs::remove_all(workDir());
        fs::remove_all(workDir() + "-real");
        c.plant(workDir());
        if (std::string(c.name) == "OwnedBySomeoneElse" && fs::exists(workDir()) && geteuid() != 0) continue;
        EXPECT_EQ(load(smallPackage()), 0) << c.name;
        EXPECT_EQ(sink.failures, (Strings{"Processing error of create work directory!"})) << c.name;
        EXPECT_FALSE(fileExists(firmdata(0))) << c.name;
    }
    fs::remove(workDir());
    const std::string victim = scratch.file("victim.txt");
    { std::ofstream(victim) << "precious"; }
    ASSERT_EQ(load(smallPackage()), 1);
    EXPECT_EQ(fs::status(workDir()).permissions(), fs::perms::owner_all);
    fs::remove(firmdata(0));
    fs::create_symlink(victim, firmdata(0));
    ASSERT_EQ(load(smallPackage()), 1);
    EXPECT_EQ(fileBytes(victim), (std::vector<uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    EXPECT_FALSE(fs::is_symlink(firmdata(0)));
    EXPECT_EQ(fileBytes(firmdata(0)), smallPackage().components[0].data);
}

}  // namespace
}  // namespace tarnwick
