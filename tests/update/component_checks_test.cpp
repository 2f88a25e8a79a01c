// The read-back check after a write: the bytes read back are kept as verifydataNN.bin and
// compared with the written data in memory; the data file is not read again.
#include <fstream>
#include <iterator>

#include "pkgbuild/package_builder.h"
#include "support/link_fixture.h"
#include "support/recording_host.h"
#include "support/temp_dir_env.h"
#include "update/component_checks.h"

namespace tarnwick::test {
namespace {

class ReadBackCheck : public ProductLinkTest {
protected:
    ReadBackCheck() { config.startInUpdateMode = true; }

    std::vector<uint8_t> fileBytes(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempDir scratch{"tarnwick-readback"};
};

TEST_F(ReadBackCheck, ComparesTheWrittenDataInMemoryAndKeepsTheReadBack) {
    const std::vector<uint8_t> written = pkgbuild::patternData(0x300, 5);
    const struct { const char* name; uint32_t end; uint32_t length; int changed; bool good; } cases[] = {
        {"the same bytes", 0x2FF, 0x300, -1, true},
        {"a read-back longer than the data", 0x2FF, 0x200, -1, true},
        {"a read-back shorter than the data", 0x1FF, 0x300, -1, false},
        {"one byte differs", 0x2FF, 0x300, 0x123, false},
    };
    for (const auto& c : cases) {
        useProduct();
        ASSERT_TRUE(link->eraseAndWrite(0x01, 0x0200, 0, 0x2FF, written.data(), 0x300)) << c.name;
        UpdatePackage package;
        ComponentEntry& entry = package.components[3];
        entry.id = 0x01;
        entry.endAddress = c.end;
        entry.writeMethod = 3;  // read back whatever the check mode
        entry.dataFilePath = scratch.file("no-such-file.bin");
        UpdateJob job;
        job.package = &package;
        job.workDir = scratch.path();
        std::vector<uint8_t> data(written.begin(), written.begin() + c.length);
        if (c.changed >= 0) data[static_cast<size_t>(c.changed)] ^= 0x5A;
        RecordingHost host;

        EXPECT_EQ(checkWrittenComponent(*link, host, job, 3, data.data(), c.length), c.good) << c.name;
        EXPECT_EQ(fileBytes(scratch.file("verifydata03.bin")),
                  std::vector<uint8_t>(written.begin(), written.begin() + c.end + 1)) << c.name;
        ASSERT_EQ(host.checkErrors.size(), c.good ? 0u : 1u) << c.name;
        for (const ErrorRecord& r : host.checkErrors) {
            EXPECT_EQ((std::array<uint32_t, 4>{r.targetId, r.errorCode, r.processCode, r.progress}),
                      (std::array<uint32_t, 4>{0x01, numberOf(ErrorCode::Verification), kProcVerify, 0})) << c.name;
        }
    }
}

}  // namespace
}  // namespace tarnwick::test
