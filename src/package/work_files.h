// Names of the files in the work directory and the copy of a component's data into its file.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "package/update_package.h"

namespace tarnwick {

inline constexpr const char* kFirmDataPrefix = "firmdata";
inline constexpr const char* kVerifyDataPrefix = "verifydata";

// "<dir>/<prefix>NN.bin" with the position in two decimal digits.
std::string workFilePath(const std::string& dir, const char* prefix, int position);

// The work directory: "<temp>OrvexWriter" interactively, "<station dir>/Work" in station mode.
std::string workDirFor(bool stationMode, const std::string& stationDir);

// A new file at path for writing, only its owner may read it. A file already there (a
// stale one, or a planted link) is removed first and never followed; null when the file
// cannot be created as a new one.
std::FILE* createFreshFile(const std::string& path);

// Creates the file at path afresh (createFreshFile) and copies exactly size bytes from in into it,
// in chunks through the buffered streams. 1 on success. 0 when the file cannot be created,
// the input ends first or a write (or the final flush) fails; the partly written file is
// then removed so that nothing incomplete stays under a component's name.
int copyComponentData(std::FILE* in, const std::string& path, uint32_t size);

// Deletes the component files a load wrote; the directory and other files stay.
void deleteWorkFiles(const UpdatePackage& package);

}  // namespace tarnwick
