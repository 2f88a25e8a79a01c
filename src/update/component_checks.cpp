#include "update/component_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "link/target_facts.h"
#include "package/component_data.h"
#include "package/work_files.h"
#include "update/check_methods.h"
#include "update/version_rules.h"

namespace tarnwick {

namespace {

constexpr uint32_t kStatusOk = 0x4F4B;   // "OK" in the upper 16 bits of the status word

// The read-back as it came, for the technician; a file that cannot be written is no error.
void keepReadBack(const std::string& path, const uint8_t* bytes, uint32_t count) {
    std::FILE* f = createFreshFile(path);
    if (f == nullptr) return;
    if (count > 0) std::fwrite(bytes, 1, count, f);
    std::fclose(f);
}

// The written data match when the read-back holds them from its start: a read-back longer
// than the data still matches, a shorter one does not.
bool readBackMatches(const uint8_t* data, uint32_t length, const uint8_t* readBack, uint32_t count) {
    return length <= count && std::equal(data, data + length, readBack);
}

bool verifyByReadBack(TargetLink& link, UpdateHost& host, const UpdateJob& job, int position, const uint8_t* data,
                      uint32_t length) {
    const ComponentEntry& c = job.pkg().components[static_cast<size_t>(position)];
    const std::unique_ptr<uint8_t[]> readBack(new (std::nothrow) uint8_t[kComponentBufferSize]);
    if (!readBack) return false;
    uint32_t count = 0;
    if (!link.readBack(c.id, c.startAddress, c.endAddress, readBack.get(), count)) return false;
    keepReadBack(workFilePath(job.workDir, kVerifyDataPrefix, position), readBack.get(), count);
    if (readBackMatches(data, length, readBack.get(), count)) return true;
    host.reportCheckError(failureRecord(c.id, ErrorCode::Verification, kProcVerify, 0));
    return false;
}

// The checksum the product reported for the range, against the package's (for a part that
// keeps a write sum, against the sum of the blocks the write sent).
bool checksumMatches(const TargetLink& link, const ComponentEntry& c, uint32_t reported) {
    switch (c.writeMethod) {
        case 1:
        case 4: {
            const uint32_t expected = targetFacts(c.id).keepsWriteSum ? link.lastWriteSum : (c.checksum & 0xFFFFu);
            return (reported & 0xFFFFu) == expected;
        }
        case 2:
        case 5: return reported == c.checksum;
        default: return false;
    }
}

// An id outside 1..85 has no entry and so reads as a failed status.
bool statusIsOk(const ComponentEntry& c, const InfoRecord& record) {
    const uint32_t word = c.id >= 1 && c.id <= kInfoEntryMax ? record.entryValues[c.id - 1u] : 0;
    return (word >> 16) == kStatusOk;
}

// The checksum or status word check through the product's information answer.
bool verifyByInfo(TargetLink& link, UpdateHost& host, const UpdateJob& job, int position, bool statusWord) {
    const UpdatePackage& package = job.pkg();
    const ComponentEntry& c = package.components[static_cast<size_t>(position)];
    if (!link.requestInfo(c.id, c.startAddress, c.sumEndAddress, package.statusEntryCount)) return false;
    const InfoRecord record = link.infoAnswer(package.statusEntryCount);
    const bool good = statusWord ? statusIsOk(c, record)
                                 : checksumMatches(link, c, record.entryValues[static_cast<size_t>(position)]);
    if (good) return true;
    host.reportCheckError(failureRecord(c.id, ErrorCode::Checksum, kProcCheck, 0));
    return false;
}

}  // namespace

std::unique_ptr<uint8_t[]> loadComponentBuffer(const UpdateJob& job, int position, uint32_t& length) {
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kComponentBufferSize]);
    if (!buffer) return nullptr;
    std::memset(buffer.get(), 0xFF, kComponentBufferSize);
    uint32_t byteSum = 0;
    if (!loadComponentData(job.pkg(), position, buffer.get(), length, byteSum)) return nullptr;
    return buffer;
}

bool checkSelectedComponentData(const UpdateJob& job, uint32_t routeAttributes, const TargetInfo* reported) {
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kComponentBufferSize]);
    if (!buffer) return false;
    const bool passesCurrent = reported != nullptr && job.updateMode == 0;
    for (int i = 0; i < kMaxComponents; ++i) {
        const ComponentEntry& c = job.pkg().components[static_cast<size_t>(i)];
        if (job.targetChecked[static_cast<size_t>(i)] != 1 || !c.hasAttribute(routeAttributes)) continue;
        if (passesCurrent && sameVersion(job.pkg(), *reported, i)) continue;
        uint32_t length = 0;
        uint32_t byteSum = 0;
        if (!loadComponentData(job.pkg(), i, buffer.get(), length, byteSum)) return false;
    }
    return true;
}

bool checkWrittenComponent(TargetLink& link, UpdateHost& host, const UpdateJob& job, int position,
                           const uint8_t* data, uint32_t length) {
    const ComponentEntry& c = job.pkg().components[static_cast<size_t>(position)];
    switch (checkMethodFor(c.writeMethod, job.checkMode)) {
        case CheckMethod::ReadBack: return verifyByReadBack(link, host, job, position, data, length);
        case CheckMethod::Checksum: return verifyByInfo(link, host, job, position, false);
        case CheckMethod::StatusWord: return verifyByInfo(link, host, job, position, true);
        case CheckMethod::None: return true;
        case CheckMethod::Fail: return false;
    }
    return false;
}

}  // namespace tarnwick
