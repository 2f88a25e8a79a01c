#include "report/error_log.h"

#include <cerrno>
#include <cstring>

#include "platform/new_file.h"

namespace tarnwick {

namespace {

// The labels, as the exact bytes the log files carry (code page 932).
constexpr const char kLabelFirmware[] = "Firmware\x96\xBC";
constexpr const char kLabelProgress[] =
    "\x83\x41\x83\x62\x83\x76\x83\x66\x81\x5B\x83\x67\x90\x69\x92\xBB\x8F\xF3\x8B\xB5";
constexpr const char kLabelMessage[] = "\x83\x47\x83\x89\x81\x5B\x83\x81\x83\x62\x83\x5A\x81\x5B\x83\x57";

int failLog(std::FILE* err, const char* text, const std::string& path, std::FILE* file) {
    const int cause = errno;
    if (file != nullptr) std::fclose(file);
    if (err != nullptr) std::fprintf(err, "%s\n  %s: %s\n", text, path.c_str(), std::strerror(cause));
    return 0;
}

}  // namespace

std::string errorLogBaseName(const LocalTime& time, int stationNumber) {
    char name[96];
    std::snprintf(name, sizeof name, "%04d%02d%02d%02d%02d%02dError%02d", time.year, time.month, time.day, time.hour,
                  time.minute, time.second, stationNumber);
    return name;
}

std::string errorLogTargetName(const UpdatePackage& package, uint32_t targetId) {
    const ComponentEntry* c = package.componentById(targetId & 0xFFu);
    if (c != nullptr) return c->name;
    char name[16];
    std::snprintf(name, sizeof name, "ID:%02d", static_cast<int>(targetId & 0xFFu));
    return name;
}

std::string errorLogContent(const std::string& targetName, int32_t progress, const std::string& message) {
    return std::string(kLabelFirmware) + ";" + targetName + "\r\n" + kLabelProgress + ";" + std::to_string(progress) +
           "\r\n" + kLabelMessage + ";" + message + "\r\n";
}

ErrorLogRecord composeErrorLog(const std::string& stationDir, int stationNumber, const UpdatePackage& package,
                               const std::string& message, uint32_t targetId, int32_t progress,
                               const LocalTime& time) {
    ErrorLogRecord record;
    record.path = stationDir + "/" + errorLogBaseName(time, stationNumber) + ".txt";
    record.content = errorLogContent(errorLogTargetName(package, targetId), progress, message);
    return record;
}

int writeErrorLogFile(const ErrorLogRecord& record, std::FILE* err) {
    std::FILE* file = nullptr;
    switch (openUnlessFilled(record.path, file)) {
    case LogOpen::OpenFailed: return failLog(err, kMsgLogOpenFailed, record.path, nullptr);
    case LogOpen::SizeFailed: return failLog(err, kMsgLogSizeFailed, record.path, nullptr);
    case LogOpen::Filled: return 1;  // a log of the same second and station stays as it is
    case LogOpen::Empty: break;
    }
    const std::string& bytes = record.content;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        return failLog(err, kMsgLogWriteFailed, record.path, file);
    }
    if (std::fclose(file) != 0) return failLog(err, kMsgLogWriteFailed, record.path, nullptr);
    return 1;
}

}  // namespace tarnwick
