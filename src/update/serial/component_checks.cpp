// The checks after a component is written: read-back comparison, checksum and status word.
#include <cstdio>

#include "app/main_window.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {

constexpr uint32_t kMismatchError = 2;   // "Verification error!"
constexpr uint32_t kChecksumError = 1;   // "Checksum error!"
constexpr uint32_t kVerifyProcess = 6;   // "Verify check of update"
constexpr uint32_t kCheckProcess = 7;    // "Check of update"
constexpr uint32_t kStatusOk = 0x4F4B;   // "OK" in the upper 16 bits of the status word

// The read-back as it came, for the technician; a file that cannot be written is no error.
void keepReadBack(const std::string& path, const uint8_t* bytes, uint32_t count) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return;
    if (count > 0) std::fwrite(bytes, 1, count, f);
    std::fclose(f);
}

// The data file matches when it ends before the read-back data do, byte for byte.
bool dataFileMatches(std::FILE* file, const uint8_t* readBack, uint32_t count) {
    for (uint32_t offset = 0;; ++offset) {
        const int c = std::fgetc(file);
        if (c == EOF) return true;
        if (offset >= kComponentBufferSize || offset >= count || readBack[offset] != static_cast<uint8_t>(c)) {
            return false;
        }
    }
}

bool isSumTarget(uint8_t id) { return id >= 0x26 && id <= 0x29; }

}  // namespace

int MainWindow::verifyByReadBack(int position, uint8_t* buffer) {
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    uint32_t count = 0;
    if (serialLink->readBack(c.id, c.startAddress, c.endAddress, buffer, count) != 1) return 0;
    keepReadBack(workFilePath(workDir, kVerifyDataPrefix, position), buffer, count);
    std::FILE* data = std::fopen(c.dataFilePath.c_str(), "rb");
    if (data == nullptr) {
        reportCheckError(ErrorRecord{c.id, kMismatchError, kVerifyProcess, 0});
        return 0;
    }
    const bool matches = dataFileMatches(data, buffer, count);
    std::fclose(data);
    if (!matches) {
        reportCheckError(ErrorRecord{c.id, kMismatchError, kVerifyProcess, 0});
        return 0;
    }
    return 1;
}

int MainWindow::verifyChecksum(int position) {
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    if (serialLink->requestInfo(c.id, c.startAddress, c.sumEndAddress, package.statusEntryCount) != 1) return 0;
    const InfoRecord record = serialLink->infoAnswer(package.statusEntryCount);
    const uint32_t reported = record.entryValues[static_cast<size_t>(position)];
    bool equal = false;
    switch (c.writeMethod) {
        case 1:
        case 4: {
            const uint32_t expected = isSumTarget(c.id) ? serialLink->lastWriteSum : (c.checksum & 0xFFFFu);
            equal = (reported & 0xFFFFu) == expected;
            break;
        }
        case 2:
        case 5: equal = reported == c.checksum; break;
        default: break;
    }
    if (equal) return 1;
    reportCheckError(ErrorRecord{c.id, kChecksumError, kCheckProcess, 0});
    return 0;
}

int MainWindow::verifyStatusWord(int position) {
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    if (serialLink->requestInfo(c.id, c.startAddress, c.sumEndAddress, package.statusEntryCount) != 1) return 0;
    const InfoRecord record = serialLink->infoAnswer(package.statusEntryCount);
    // An id outside 1..85 has no entry and so reads as a failed status.
    const uint32_t word = c.id >= 1 && c.id <= kInfoEntryMax ? record.entryValues[c.id - 1u] : 0;
    if ((word >> 16) == kStatusOk) return 1;
    reportCheckError(ErrorRecord{c.id, kChecksumError, kCheckProcess, 0});
    return 0;
}

}  // namespace tarnwick
