#include "platform/shared_area.h"

#include <cstdlib>

#include "platform/os_error_text.h"
#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {
constexpr const char* kDefaultName = "UpdateInformation";

HANDLE handleOf(NativeHandle h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

std::string sharedAreaName() {
    const char* name = std::getenv("TARNWICK_SHM_NAME");
    return name == nullptr || *name == '\0' ? kDefaultName : name;
}

SharedArea::Result SharedArea::fail(Result result, const std::string& what) {
    lastError_ = what + ": " + osErrorText(static_cast<int>(GetLastError()));
    return result;
}

// Keeps the mapping open with its view: Windows drops the name with the last handle, and
// a reader that comes later must still find the area by it.
SharedArea::Result SharedArea::map(NativeHandle mapping, size_t size, bool writable) {
    void* view = MapViewOfFile(handleOf(mapping), writable ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, size);
    if (view == nullptr) {
        const Result r = fail(Result::MapFailed, "(MapViewOfFile)");
        CloseHandle(handleOf(mapping));
        return r;
    }
    view_ = static_cast<uint8_t*>(view);
    mapping_ = mapping;
    size_ = size;
    writable_ = writable;
    lastError_.clear();
    return Result::Mapped;
}

// A new area of the paging file starts zero-filled; one that exists is opened as it is (a
// mapping cannot grow, so one too small fails at the view).
SharedArea::Result SharedArea::create(const std::string& name, size_t size) {
    if (mapped()) return Result::Mapped;
    const auto wide = static_cast<unsigned long long>(size);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(wide >> 32),
                                        static_cast<DWORD>(wide & 0xFFFFFFFFu), name.c_str());
    if (mapping == nullptr) return fail(Result::OpenFailed, "(CreateFileMapping) " + name);
    return map(reinterpret_cast<NativeHandle>(mapping), size, true);
}

SharedArea::Result SharedArea::openReadOnly(const std::string& name, size_t size) {
    if (mapped()) return Result::Mapped;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    if (mapping == nullptr) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return Result::Missing;
        return fail(Result::OpenFailed, "(OpenFileMapping) " + name);
    }
    // The whole area is mapped and then measured: a view longer than the area would be
    // refused like any other mapping failure, where a too small area is not the view's fault.
    if (map(reinterpret_cast<NativeHandle>(mapping), 0, false) != Result::Mapped) return Result::MapFailed;
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(view_, &region, sizeof region) == 0 || region.RegionSize < size) {
        release();
        lastError_ = name + " has " + std::to_string(region.RegionSize) + " bytes, not " + std::to_string(size);
        return Result::OpenFailed;
    }
    size_ = size;
    return Result::Mapped;
}

void SharedArea::release() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (mapping_ != kNoHandle) CloseHandle(handleOf(mapping_));
    view_ = nullptr;
    mapping_ = kNoHandle;
    size_ = 0;
    writable_ = false;
}

// Nothing to remove: the area goes with the last process that holds it.
int removeSharedArea(const std::string& /*name*/) { return 1; }

}  // namespace tarnwick
