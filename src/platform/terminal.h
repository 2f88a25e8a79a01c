// Whether an output or input stream is the operator's terminal, and how wide it is: the
// progress line, the help text and the line's table fit themselves to it.
#pragma once
#include <cstddef>
#include <cstdio>

namespace tarnwick {

// True when stream is a terminal (a console window on Windows); false for a file, a pipe
// or a null stream.
bool isTerminal(std::FILE* stream);

// The width of the terminal stream goes to in columns; 0 when it is not a terminal or the
// width cannot be told.
size_t terminalColumns(std::FILE* stream);

}  // namespace tarnwick
