#include "platform/shared_area.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tarnwick {

namespace {
constexpr const char* kDefaultName = "/UpdateInformation";
constexpr mode_t kAreaMode = 0644;

// The current size of an open area, -1 when it cannot be queried.
off_t areaSize(int fd) {
    struct stat st {};
    return fstat(fd, &st) == 0 ? st.st_size : -1;
}
}  // namespace

std::string sharedAreaName() {
    const char* name = std::getenv("TARNWICK_SHM_NAME");
    if (name == nullptr || *name == '\0') return kDefaultName;
    return name[0] == '/' ? std::string(name) : "/" + std::string(name);
}

SharedArea::Result SharedArea::fail(Result result, const std::string& what) {
    lastError_ = what + ": " + std::strerror(errno);
    return result;
}

SharedArea::Result SharedArea::map(NativeHandle fd, size_t size, bool writable) {
    const int protection = writable ? PROT_READ | PROT_WRITE : PROT_READ;
    void* view = mmap(nullptr, size, protection, MAP_SHARED, fd, 0);
    const int mapErrno = errno;
    ::close(fd);
    errno = mapErrno;
    if (view == MAP_FAILED) return fail(Result::MapFailed, "mmap");
    view_ = static_cast<uint8_t*>(view);
    size_ = size;
    writable_ = writable;
    lastError_.clear();
    return Result::Mapped;
}

SharedArea::Result SharedArea::create(const std::string& name, size_t size) {
    if (mapped()) return Result::Mapped;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kAreaMode);
    if (fd >= 0) {
        fchmod(fd, kAreaMode);  // the mode without the umask, so that every user can watch
    } else if (errno == EEXIST) {
        fd = shm_open(name.c_str(), O_RDWR | O_CLOEXEC, 0);
    }
    if (fd < 0) return fail(Result::OpenFailed, "shm_open " + name);
    const off_t current = areaSize(fd);
    if (current < 0 || (static_cast<size_t>(current) < size && ftruncate(fd, static_cast<off_t>(size)) != 0)) {
        const int sizeErrno = errno;
        ::close(fd);
        errno = sizeErrno;
        return fail(Result::OpenFailed, "sizing " + name);
    }
    return map(fd, size, true);
}

SharedArea::Result SharedArea::openReadOnly(const std::string& name, size_t size) {
    if (mapped()) return Result::Mapped;
    const int fd = shm_open(name.c_str(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) return errno == ENOENT ? Result::Missing : fail(Result::OpenFailed, "shm_open " + name);
    const off_t current = areaSize(fd);
    if (current == 0) {  // created, not sized yet
        ::close(fd);
        return Result::Missing;
    }
    if (current < 0) {
        const int statErrno = errno;
        ::close(fd);
        errno = statErrno;
        return fail(Result::OpenFailed, "fstat " + name);
    }
    if (static_cast<size_t>(current) < size) {
        ::close(fd);
        lastError_ = name + " has " + std::to_string(current) + " bytes, not " + std::to_string(size);
        return Result::OpenFailed;
    }
    return map(fd, size, false);
}

void SharedArea::release() {
    if (view_ != nullptr) munmap(view_, size_);
    view_ = nullptr;
    size_ = 0;
    writable_ = false;
}

int removeSharedArea(const std::string& name) { return shm_unlink(name.c_str()) == 0 || errno == ENOENT ? 1 : 0; }

}  // namespace tarnwick
