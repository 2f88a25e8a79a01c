// Where the program finds its directories on this platform. On Windows the separator is
// a backslash, the temporary directory the user's own (GetTempPath) and the drive the root
// of the program's directory (C:\ for a program in C:\Tools).
#pragma once
#include <string>

namespace tarnwick {

// The temporary-files directory with its trailing separator: $TMPDIR, else /tmp.
std::string tempDirWithSeparator();

// The program's directory with its trailing separator: $TARNWICK_PROGRAM_DIR when set,
// else the directory of the running executable; empty when it cannot be determined.
std::string programDirWithSeparator();

// The running executable's full path, empty when it cannot be determined.
std::string executablePath();
// The program's "drive": the root directory.
std::string programDrive();

// The current working directory, empty when unknown.
std::string currentDirectory();
// Where this user's programs keep their own state, each level created, with its trailing
// separator: $XDG_STATE_HOME (else ~/.local/state) on Linux, %LOCALAPPDATA% on Windows; the
// temporary-files directory when there is none.
std::string userStateDirWithSeparator();

// Creates one directory level. 1 when it was created or already exists, else 0.
int createDirectoryLevel(const std::string& path);

// Creates one directory level only its owner can use (0700). 1 when it was created, or
// when it exists as a real directory (not a link) of this user that nobody else may
// write to; else 0, so that files in it cannot be planted or swapped by another user.
int createPrivateDirectory(const std::string& path);

}  // namespace tarnwick
