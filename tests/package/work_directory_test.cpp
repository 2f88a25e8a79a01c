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

// (What a load refuses under the private rule is seen, with its message, in the package load.)
TEST(WorkDirectory, AStationMayShareItWithItsGroupButNotWithOthers) {
    TempDir dir;
    const std::pair<const char*, mode_t> cases[] = {{"group-station", 0770}, {"others", 0707}};
    for (const auto& [name, mode] : cases) {
        const std::string path = dir.file(name);
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        EXPECT_EQ(prepareWorkDirectory(path, WorkDirRule::GroupWritable), mode == 0770 ? 1 : 0) << name;
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
