// Loading an update package: header into the model, component data into the work directory.
#include <array>
#include <cstdio>

#include "app/main_window.h"
#include "package/header_parser.h"
#include "package/work_files.h"

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
}  // namespace

int MainWindow::loadUpdateFile() {
    showStatus(0, kMsgLoading, 0, 0);
    const char* failure = nullptr;
    std::FILE* file = nullptr;
    if (prepareWorkDir() != 1) {
        failure = kMsgWorkDirFailed;
    } else if ((file = std::fopen(updateFilePath.c_str(), "rb")) == nullptr) {
        failure = kMsgOpenFailed;
    } else if (readHeader(file) != 1) {
        failure = kMsgHeaderFailed;
    } else if (extractComponents(file) != 1) {
        failure = kMsgDataFailed;
    }
    if (failure != nullptr) showError(failure);
    if (file != nullptr) std::fclose(file);
    closeStatusWindow();
    return failure == nullptr ? 1 : 0;
}

int MainWindow::readHeader(std::FILE* file) {
    const HeaderParseResult parsed = parseHeader(file, package);
    if (parsed.result != 1) showError(parsed.message);
    return parsed.result;
}

int MainWindow::extractComponents(std::FILE* file) {
    for (int p = 0; p < package.componentCount && p < kMaxComponents; ++p) {
        ComponentEntry& entry = package.components[static_cast<size_t>(p)];
        showStatus(0, componentStatusLine(entry), 0, 0);
        const uint32_t size = entry.dataSize();
        bool copied = false;
        if (entry.capacity >= size) {
            entry.dataFilePath = workFilePath(workDir, kFirmDataPrefix, p);
            copied = copyComponentData(file, entry.dataFilePath, size) == 1;
            // A component whose file could not be written completely has no file.
            if (!copied) entry.dataFilePath.clear();
        }
        if (!copied) {
            showError(kMsgFirmwareDataError);
            return 0;
        }
    }
    return 1;
}

}  // namespace tarnwick
