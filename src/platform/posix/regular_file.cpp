#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tarnwick {

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a directory";
    return "not a file";
}

std::FILE* refuse(int fd, std::string* why, const std::string& text) {
    if (fd >= 0) ::close(fd);
    if (why != nullptr) *why = text;
    return nullptr;
}

}  // namespace

std::FILE* openRegularFile(const std::string& path, uint64_t maxBytes, std::string* why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuse(-1, why, std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) return refuse(fd, why, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return refuse(fd, why, std::string(kindOf(st.st_mode)) + ", not a regular file");
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        return refuse(fd, why, "larger than " + std::to_string(maxBytes) + " bytes");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    return file != nullptr ? file : refuse(fd, why, std::strerror(errno));
}

}  // namespace tarnwick
