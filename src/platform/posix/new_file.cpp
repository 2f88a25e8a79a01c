#include "platform/new_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick {

namespace {
// The descriptor as a binary stream; the descriptor is closed when that fails.
std::FILE* streamOf(int fd) {
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
    }
    return file;
}
}  // namespace

std::FILE* createNewFile(const std::string& path) {
    ::unlink(path.c_str());  // a directory in the way stays, and the open fails
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    return fd < 0 ? nullptr : streamOf(fd);
}

LogOpen openUnlessFilled(const std::string& path, std::FILE*& file) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return LogOpen::OpenFailed;
    struct stat st {};
    const bool sized = fstat(fd, &st) == 0;
    const int cause = errno;
    if (!sized || st.st_size != 0) {
        ::close(fd);
        errno = cause;
        return sized ? LogOpen::Filled : LogOpen::SizeFailed;
    }
    file = streamOf(fd);
    return file != nullptr ? LogOpen::Empty : LogOpen::OpenFailed;
}

}  // namespace tarnwick
