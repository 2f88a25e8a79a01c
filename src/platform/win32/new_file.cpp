#include "platform/new_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace tarnwick {

namespace {

constexpr int kNotInherited = _O_NOINHERIT;  // a station the line starts must not hold it open

// The descriptor as a binary stream; the descriptor is closed when that fails.
std::FILE* streamOf(int fd) {
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = errno;
        _close(fd);
        errno = cause;
    }
    return file;
}

}  // namespace

// A file already at path is removed first and the new one made with _O_EXCL, which fails
// on anything there, a link included. Windows has no owner-only mode bits: the file takes
// the directory's access list, and the work directory is the user's own.
std::FILE* createNewFile(const std::string& path) {
    std::remove(path.c_str());
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | kNotInherited, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : streamOf(fd);
}

LogOpen openUnlessFilled(const std::string& path, std::FILE*& file) {
    const int fd = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | kNotInherited, _S_IREAD | _S_IWRITE);
    if (fd < 0) return LogOpen::OpenFailed;
    struct _stat64 st {};
    const bool sized = _fstat64(fd, &st) == 0;
    const int cause = errno;
    if (!sized || st.st_size != 0) {
        _close(fd);
        errno = cause;
        return sized ? LogOpen::Filled : LogOpen::SizeFailed;
    }
    file = streamOf(fd);
    return file != nullptr ? LogOpen::Empty : LogOpen::OpenFailed;
}

}  // namespace tarnwick
