// What a path the operator typed names: the same path from anywhere, and whether two
// paths name one file (an output must never overwrite an input before it is read).
#pragma once
#include <string>

namespace tarnwick {

// path from the root: a relative one joined to the current directory. An empty path, or
// one whose directory cannot be told, comes back as it is.
std::string fullPathOf(const std::string& path);

// True when a and b are the same text or name one existing file through two paths.
bool sameFileBehind(const std::string& a, const std::string& b);

}  // namespace tarnwick
