#include "package/package_loader.h"

#include <array>
#include <cstdio>

#include "package/header_parser.h"
#include "package/work_files.h"
#include "platform/paths.h"
#include "platform/regular_file.h"

namespace tarnwick {

namespace {
constexpr const char* kMsgLoading = "Loading of update file...";
constexpr const char* kMsgWorkDirFailed = "Processing error of create work directory!";
constexpr const char* kMsgOpenFailed = "Processing error of open update file!";
constexpr const char* kMsgHeaderFailed = "Processing error of file header reading!";
constexpr const char* kMsgDataFailed = "Processing error of firmware data reading!";

std::string componentStatusLine(const ComponentEntry& entry) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "Loading of update file. [%02X:%s]",
                  static_cast<unsigned>(entry.id), entry.name.c_str());
    return text.data();
}

int readHeader(std::FILE* file, UpdatePackage& package, LoadSink& sink) {
    const HeaderParseResult parsed = parseHeader(file, package);
    if (parsed.result != 1) sink.loadFailure(parsed.message);
    return parsed.result;
}

int extractComponents(std::FILE* file, const std::string& workDir, UpdatePackage& package, LoadSink& sink) {
    for (int p = 0; p < package.componentCount && p < kMaxComponents; ++p) {
        ComponentEntry& entry = package.components[static_cast<size_t>(p)];
        sink.loadStatus(componentStatusLine(entry));
        const uint32_t size = entry.dataSize();
        bool copied = false;
        if (entry.capacity >= size) {
            entry.dataFilePath = workFilePath(workDir, kFirmDataPrefix, p);
            copied = copyComponentData(file, entry.dataFilePath, size) == 1;
            // A component whose file could not be written completely has no file.
            if (!copied) entry.dataFilePath.clear();
        }
        if (!copied) {
            sink.loadFailure(kMsgFirmwareDataError);
            return 0;
        }
    }
    return 1;
}
}  // namespace

int loadPackage(const std::string& path, const std::string& workDir, UpdatePackage& package, LoadSink& sink,
                WorkDirRule rule) {
    sink.loadStatus(kMsgLoading);
    const char* failure = nullptr;
    std::FILE* file = nullptr;
    if (prepareWorkDirectory(workDir, rule) != 1) {
        failure = kMsgWorkDirFailed;
    } else if ((file = openRegularFile(path, kNoSizeLimit, nullptr)) == nullptr) {
        failure = kMsgOpenFailed;
    } else if (readHeader(file, package, sink) != 1) {
        failure = kMsgHeaderFailed;
    } else if (extractComponents(file, workDir, package, sink) != 1) {
        failure = kMsgDataFailed;
    }
    if (failure != nullptr) sink.loadFailure(failure);
    if (file != nullptr) std::fclose(file);
    return failure == nullptr ? 1 : 0;
}

}  // namespace tarnwick
