// Everything written so far to a temporary stream (std::tmpfile) that stands in for a terminal,
// and the whole content of a file.
#pragma once
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace tarnwick::test {

inline std::string streamText(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

inline std::string slurp(const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

}  // namespace tarnwick::test
