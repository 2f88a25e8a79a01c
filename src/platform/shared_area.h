// A named POSIX shared-memory area (shm_open + mmap). The area itself outlives the
// processes that map it until it is removed, so a reader started later still finds the
// last contents; release() only unmaps this process's view.
// On Windows it is a named file mapping backed by the paging file; it lives only while some
// process holds it, so the last contents outlive a station only when a reader (a monitor,
// the line) has it open.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/native_handle.h"

namespace tarnwick {

// The name of the station status area: $TARNWICK_SHM_NAME when set (a leading "/" added
// when it has none), else "/UpdateInformation". On Windows the name is taken as it is set,
// and is "UpdateInformation" by default.
std::string sharedAreaName();

class SharedArea {
public:
    enum class Result {
        Mapped,      // the view is there
        Missing,     // no area of that name yet, or one still being sized by its creator
        OpenFailed,  // the area could not be created, opened or sized
        MapFailed,   // the area exists but could not be mapped
    };

    SharedArea() = default;
    ~SharedArea() { release(); }
    SharedArea(const SharedArea&) = delete;
    SharedArea& operator=(const SharedArea&) = delete;

    // Opens the area for reading and writing, creating it (mode 0644, zero-filled) when it
    // does not exist and growing it to `size` when it is smaller. Mapped at once when a
    // view is already there.
    Result create(const std::string& name, size_t size);
    // Maps an existing area read-only; never creates or resizes it. OpenFailed (with
    // lastError) also for an area of another, smaller size.
    Result openReadOnly(const std::string& name, size_t size);
    // Unmaps the view; the area and its contents stay.
    void release();

    bool mapped() const { return view_ != nullptr; }
    const uint8_t* data() const { return view_; }
    // The view for writing; null for a read-only view.
    uint8_t* writableData() { return writable_ ? view_ : nullptr; }
    size_t size() const { return size_; }
    // What went wrong in the last failed call, for the operator.
    const std::string& lastError() const { return lastError_; }

private:
    Result fail(Result result, const std::string& what);
    Result map(NativeHandle handle, size_t size, bool writable);

    uint8_t* view_ = nullptr;
    NativeHandle mapping_ = kNoHandle;  // Windows: the mapping the view keeps alive by name
    size_t size_ = 0;
    bool writable_ = false;
    std::string lastError_;
};

// Removes the area's name; views that exist stay valid. 1 when removed or already gone.
// Always 1 on Windows, where the area goes with its last handle.
int removeSharedArea(const std::string& name);

}  // namespace tarnwick
