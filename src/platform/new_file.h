// Files the program writes once, in whole: the copies of a package's components in the work
// directory and a station's error logs. Both are binary: the logs carry their own CRLF line
// ends and code page 932 labels, byte for byte.
#pragma once
#include <cstdio>
#include <string>

namespace tarnwick {

// A new file at path for binary writing that only its owner may read. A file already there
// (a stale one, or a planted link) is removed first and never followed; null, with errno
// telling why, when the file cannot be created as a new one.
std::FILE* createNewFile(const std::string& path);

enum class LogOpen {
    Empty,       // the file is new or empty: write it from its start
    Filled,      // the file holds bytes already and is left as it is
    OpenFailed,  // errno tells why
    SizeFailed,  // opened, but its size cannot be told; errno tells why
};

// Opens path for binary writing, creating it (readable by everyone) when it is not there
// and cutting nothing off. file is set only with Empty; the caller closes it.
[[nodiscard]] LogOpen openUnlessFilled(const std::string& path, std::FILE*& file);

}  // namespace tarnwick
