#include "platform/regular_file.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace tarnwick {

namespace {

// The C library's number for a failed open, so that callers can tell a missing file.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        default: return EIO;
    }
}

const char* kindOf(HANDLE file, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return "a directory";
    switch (GetFileType(file)) {
        case FILE_TYPE_PIPE: return "a FIFO";
        case FILE_TYPE_CHAR: return "a character device";
        case FILE_TYPE_DISK: return nullptr;
        default: return "not a file";
    }
}

std::FILE* refuse(HANDLE file, std::string* why, const std::string& text) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (why != nullptr) *why = text;
    return nullptr;
}

std::FILE* refuseWithError(HANDLE file, std::string* why) {
    errno = errnoOf(GetLastError());
    return refuse(file, why, std::strerror(errno));
}

}  // namespace

// Opened through the handle, not by the C library, so that a directory, a device name
// (COM1, CON) or a pipe is told from a file before anything is read; none of the three
// opens waits.
std::FILE* openRegularFile(const std::string& path, uint64_t maxBytes, std::string* why) {
    constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShare, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return refuseWithError(file, why);
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD attributes = GetFileInformationByHandle(file, &info) ? info.dwFileAttributes : 0;
    if (const char* kind = kindOf(file, attributes)) return refuse(file, why, std::string(kind) + ", not a regular file");
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return refuseWithError(file, why);
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        return refuse(file, why, "larger than " + std::to_string(maxBytes) + " bytes");
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) return refuse(file, why, std::strerror(errno));
    std::FILE* stream = _fdopen(fd, "rb");
    if (stream == nullptr) {
        const int openErrno = errno;
        _close(fd);  // closes the handle as well
        return refuse(INVALID_HANDLE_VALUE, why, std::strerror(openErrno));
    }
    return stream;
}

}  // namespace tarnwick
