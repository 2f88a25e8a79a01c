// Parsing the text header of an update package (title to "HEADER END") into the model.
#pragma once
#include <cstdio>

#include "package/update_package.h"

namespace tarnwick {

// The messages of the header and data checks.
inline constexpr const char* kMsgUpdateInfoError = "Reading error of update information!";
inline constexpr const char* kMsgFormatError = "Format error of update file!";
inline constexpr const char* kMsgModelCodeError = "The genre/model code is different!";
inline constexpr const char* kMsgComponentCountError = "The number error of firmware composition!";
inline constexpr const char* kMsgComponentInfoError = "Reading error of firmware information!";
inline constexpr const char* kMsgTargetIdError = "Target ID error!";
inline constexpr const char* kMsgOtherInfoError = "Reading error of other information!";
inline constexpr const char* kMsgFirmwareDataError = "Reading error of firmware data!";

inline constexpr const char* kToolId = "VORTAG3 B007";
inline constexpr const char* kGenreCode = "3001";
inline constexpr const char* kModelCode = "0002";
inline constexpr const char* kHeaderEnd = "HEADER END";

// Fixed lengths of the header lines, terminator included.
constexpr size_t kPackageLineLength = 96;
constexpr size_t kComponentLineLength = 160;
constexpr size_t kOtherLineLength = 16;

struct HeaderParseResult {
    int result = 0;                 // 1 parsed, 0 failed
    const char* message = nullptr;  // the first failure's message; null on success
};

// Parses the header from a binary stream into the package, leaving the stream at the first
// data byte on success. The fields parsed before a failure stay in the package.
HeaderParseResult parseHeader(std::FILE* file, UpdatePackage& package);

// (first two characters as hex, low 8 bits) * 256 + (last two characters as hex, low 8 bits).
uint16_t versionNumberOf(const std::string& versionText);

}  // namespace tarnwick
