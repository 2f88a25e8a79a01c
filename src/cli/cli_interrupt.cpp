#include "cli/cli_interrupt.h"

#include <cstdlib>

#include "package/update_package.h"
#include "package/work_directory.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {

constexpr auto kSecondPressWindow = std::chrono::seconds(5);
constexpr const char* kWarning =
    "\ntarnwick: the product is being written. Stopping now leaves it in update mode; a later run will offer the "
    "recovery update.\nPress Ctrl-C again within 5 seconds to stop anyway.\n";

// The component files a run of this command may leave in workDir.
std::vector<std::string> filesOf(const std::string& workDir) {
    std::vector<std::string> files;
    for (const char* prefix : {kFirmDataPrefix, kVerifyDataPrefix}) {
        for (int p = 0; p < kMaxComponents; ++p) files.push_back(workFilePath(workDir, prefix, p));
    }
    return files;
}

}  // namespace

InterruptGuard::InterruptGuard(std::FILE* err, const std::string& workDir)
    : err_(err), workDir_(workDir), workFiles_(filesOf(workDir)), stops_([this](int) { stopAsked(); }) {}

InterruptGuard::~InterruptGuard() = default;

void InterruptGuard::statusShown(uint8_t, const std::string& text, int, int) {
    if (text == "Updating start...") writing_ = true;
}

void InterruptGuard::resultReported(int, const std::string&) { writing_ = false; }

void InterruptGuard::setBeforeExit(std::function<void()> action) {
    const std::lock_guard<std::mutex> lock(beforeExitMutex_);
    beforeExit_ = std::move(action);
}

void InterruptGuard::stopAsked() {
    const auto now = std::chrono::steady_clock::now();
    if (!writing_ || (warned_ && now - warnedAt_ <= kSecondPressWindow)) endNow();
    warned_ = true;
    warnedAt_ = now;
    std::fputs(kWarning, err_);
    std::fflush(err_);
}

// Leaves no component file behind and ends the process without unwinding the run.
void InterruptGuard::endNow() {
    // A work directory another copy holds keeps its files: they are that copy's run.
    if (holdsWorkDirectory(workDir_)) {
        for (const std::string& path : workFiles_) std::remove(path.c_str());
    }
    {
        const std::lock_guard<std::mutex> lock(beforeExitMutex_);
        if (beforeExit_) beforeExit_();
    }
    std::fputs("\ntarnwick: interrupted.\n", err_);
    std::fflush(err_);
    std::_Exit(kExitInterrupted);
}

}  // namespace tarnwick
