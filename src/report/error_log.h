// The error log of a station: one small file a failure record, named by the date, the time
// and the station number, in the station directory.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "package/update_package.h"
#include "platform/local_time.h"

namespace tarnwick {

inline constexpr const char* kMsgLogOpenFailed = "It failed in opening of log file.";
inline constexpr const char* kMsgLogSizeFailed = "It failed in getting size of log file.";
inline constexpr const char* kMsgLogWriteFailed = "It failed in writing of log file.";

// One record, composed and ready to be written.
struct ErrorLogRecord {
    std::string path;     // <stationDir>/<yyyymmddhhmmss>ErrorNN.txt
    std::string content;  // three CR LF lines
};

// "<yyyymmddhhmmss>ErrorNN" of a moment and a station.
std::string errorLogBaseName(const LocalTime& time, int stationNumber);

// The target of a record: its component name, else "ID:%02d" with the id in decimal.
std::string errorLogTargetName(const UpdatePackage& package, uint32_t targetId);

// The three lines: firmware name, update progress, error message, each "label;value\r\n".
std::string errorLogContent(const std::string& targetName, int32_t progress, const std::string& message);

ErrorLogRecord composeErrorLog(const std::string& stationDir, int stationNumber, const UpdatePackage& package,
                               const std::string& message, uint32_t targetId, int32_t progress,
                               const LocalTime& time);

// Writes a record into its file, unless a non-empty file of that name is already there
// (an earlier record of the same second), which stays as it is. 1 when written or kept;
// 0 when the file could not be opened, sized or written, after the failure text went to
// `err`.
int writeErrorLogFile(const ErrorLogRecord& record, std::FILE* err);

}  // namespace tarnwick
