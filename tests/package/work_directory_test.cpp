// The work directory a run will write its component files into: what is refused, what a
// station may use, and a directory another copy holds.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "package/work_directory.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {
namespace {

TEST(WorkDirectory, RefusedUnlessPrivateOrAStationsGroupWritableOne) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("target"));
    const struct {
        const char* name;
        mode_t mode;  // 0: a symbolic link to another directory
        WorkDirRule rule;
        int result;
    } cases[] = {
        {"fresh", 0700, WorkDirRule::Private, 1},         {"group", 0770, WorkDirRule::Private, 0},
        {"group-station", 0770, WorkDirRule::GroupWritable, 1}, {"others", 0707, WorkDirRule::GroupWritable, 0},
        {"link", 0, WorkDirRule::GroupWritable, 0},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.name);
        if (c.mode == 0) {
            std::filesystem::create_directory_symlink(dir.file("target"), path);
        } else if (std::string(c.name) != "fresh") {
            ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
            ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        }
        EXPECT_EQ(prepareWorkDirectory(path, c.rule), c.result) << c.name;
    }
}

TEST(WorkDirectory, ADirectoryAnotherCopyHoldsIsLeftAlone) {
    TempDir dir;
    const std::string path = dir.file("Work");
    ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
    const int other = open(path.c_str(), O_RDONLY | O_DIRECTORY);  // the other copy's lock
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(prepareWorkDirectory(path, WorkDirRule::Private), 0);
    close(other);
    EXPECT_EQ(prepareWorkDirectory(path, WorkDirRule::Private), 1);
}

}  // namespace
}  // namespace tarnwick::test
