#include "package/work_files.h"

#include <array>
#include <cstdio>
#include <memory>

#include "platform/new_file.h"
#include "platform/paths.h"

namespace tarnwick {

namespace {
constexpr size_t kCopyChunk = 256 * 1024;

// Copies size bytes; 1 when all of them were read and handed to the output stream.
int copyBytes(std::FILE* in, std::FILE* out, uint32_t size) {
    std::unique_ptr<char[]> chunk(new char[kCopyChunk]);
    uint32_t left = size;
    while (left > 0) {
        const size_t want = left < kCopyChunk ? left : kCopyChunk;
        const size_t got = std::fread(chunk.get(), 1, want, in);
        if (got > 0 && std::fwrite(chunk.get(), 1, got, out) != got) return 0;
        if (got != want) return 0;
        left -= static_cast<uint32_t>(got);
    }
    return 1;
}
}  // namespace

std::string workFilePath(const std::string& dir, const char* prefix, int position) {
    std::array<char, 16> number{};
    std::snprintf(number.data(), number.size(), "%02d", position);
    return dir + "/" + prefix + number.data() + ".bin";
}

std::string workDirFor(bool stationMode, const std::string& stationDir) {
    if (stationMode) return stationDir + "/Work";
    return tempDirWithSeparator() + "OrvexWriter";
}

std::FILE* createFreshFile(const std::string& path) { return createNewFile(path); }

int copyComponentData(std::FILE* in, const std::string& path, uint32_t size) {
    std::FILE* out = createFreshFile(path);
    if (out == nullptr) return 0;
    const int copied = copyBytes(in, out, size);
    const bool closed = std::fclose(out) == 0;
    if (copied == 1 && closed) return 1;
    std::remove(path.c_str());
    return 0;
}

void deleteWorkFiles(const UpdatePackage& package) {
    for (const ComponentEntry& entry : package.components) {
        if (!entry.dataFilePath.empty()) std::remove(entry.dataFilePath.c_str());
    }
}

}  // namespace tarnwick
