// Everything written so far to a temporary stream (std::tmpfile) that stands in for a terminal.
#pragma once
#include <cstdio>
#include <string>

namespace tarnwick::test {

inline std::string streamText(std::FILE* f) {
    std::rewind(f);
    std::string text;
    for (int c; (c = std::fgetc(f)) != EOF;) text.push_back(static_cast<char>(c));
    return text;
}

}  // namespace tarnwick::test
