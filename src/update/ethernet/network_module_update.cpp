#include "update/ethernet/network_module_update.h"

#include <cstdio>
#include <memory>
#include <string>

#include "report/error_record.h"
#include "update/component_checks.h"
#include "update/ethernet/product_connection.h"
#include "update/ethernet/tftp_client.h"
#include "update/update_timeouts.h"
#include "update/version_rules.h"

namespace tarnwick {

namespace {

constexpr uint16_t kModuleCommandPort = 5001;
const char* const kBootRestartText = "Reboot(Bootloader Mode)...";
const char* const kAppRestartText = "Reboot(Application Mode)...";

using ModuleCommand = ErrorCode (TargetLink::*)(uint8_t);

// What the module is told for each kind of component, and the name its file goes under.
struct ModuleKind {
    uint8_t kind;
    ModuleCommand erase;  // nullptr: nothing to erase
    ModuleCommand update;
    const char* fileNameFormat;  // of the component's name and version number
};

constexpr ModuleKind kKinds[] = {
    {1, nullptr, &TargetLink::updateBootloader, "BL_%s_%04X.bcd"},
    {2, &TargetLink::eraseImage, &TargetLink::updateImageCne, "%s_%04X.bcd"},
    {3, &TargetLink::eraseImage, &TargetLink::updateImage, "%s_%04X.bcd"},
    {4, &TargetLink::eraseWebPage, &TargetLink::updateWebPage, "%s_%04X.bcd"},
};

const ModuleKind* moduleKind(uint8_t kind) {
    for (const ModuleKind& k : kKinds) {
        if (k.kind == kind) return &k;
    }
    return nullptr;
}

// The name the module's file goes under, however long the component's name is.
std::string moduleFileName(const ModuleKind& kind, const ComponentEntry& c) {
    const auto version = static_cast<unsigned>(c.versionNumber);
    const int size = std::snprintf(nullptr, 0, kind.fileNameFormat, c.name.c_str(), version);
    if (size <= 0) return std::string();
    std::string name(static_cast<size_t>(size), '\0');
    std::snprintf(&name[0], name.size() + 1, kind.fileNameFormat, c.name.c_str(), version);
    return name;
}

class ModuleUpdate {
public:
    ModuleUpdate(UpdateJob& job, UpdateHost& host, TargetLink& link, CommandChannel& channel, Clock& clock,
                 uint16_t tftpPort)
        : job_(job), host_(host), link_(link), channel_(channel), client_(clock) {
        client_.setOwner(&host);
        client_.setServerPort(tftpPort);
        client_.setTraceNote([this](const std::string& text) { link_.traceNote(text); });
    }

    bool run() {
        bool result = true;
        uint8_t lastId = 0;
        for (int i = 0; i < kMaxComponents && result; ++i) {
            const ComponentEntry& c = job_.pkg().components[static_cast<size_t>(i)];
            if (job_.targetChecked[static_cast<size_t>(i)] != 1 || !c.hasAttribute(kAttrNetworkModule)) continue;
            ++job_.currentNumber;
            if (job_.updateMode == 0 && sameVersion(job_.pkg(), link_.targetInfo, i)) {
                host_.showStatus(c.id, "Pass update.", 0, 0);
                host_.waitSeconds(kPassWait);
                continue;
            }
            lastId = c.id;
            result = updateComponent(i);
        }
        if (result && inBootloader_) returnToApplication(lastId);
        return result;
    }

private:
    // n times a status line with the restart's progress, then one second.
    void restartWait(uint8_t id, const char* text, std::chrono::seconds wait) {
        const auto seconds = wait.count();
        for (auto n = 1; n <= seconds; ++n) {
            host_.showStatus(id, text, 1, static_cast<int>(n * 100 / seconds));
            host_.waitSeconds(std::chrono::seconds{1});
        }
    }

    // The module restarts into its application whether or not it took the command.
    void returnToApplication(uint8_t id) {
        if (link_.startImage(id) == ErrorCode::None) {
            closeChannel(channel_, link_);
            inBootloader_ = false;
        }
        restartWait(id, kAppRestartText, kModuleAppRestartWait);
    }

    bool connectToModule(uint8_t id, uint32_t failedProcess) {
        if (openChannel(channel_, link_, job_.ipText, kModuleCommandPort) == 1) return true;
        host_.reportLinkError(failureRecord(id, ErrorCode::PortOpen, failedProcess, 0));
        return false;
    }

    // The module restarted into its boot loader and connected again.
    bool enterBootloader(uint8_t id) {
        closeChannel(channel_, link_);
        if (!connectToModule(id, kProcConnect)) return false;
        if (link_.startBootloader(id) != ErrorCode::None) return false;
        inBootloader_ = true;
        closeChannel(channel_, link_);
        restartWait(id, kBootRestartText, kModuleBootRestartWait);
        return connectToModule(id, kProcSwitch);
    }

    bool sendFile(const ModuleKind& kind, const ComponentEntry& c, int position) {
        uint32_t length = 0;
        const std::unique_ptr<uint8_t[]> buffer = loadComponentBuffer(job_, position, length);
        if (!buffer || !client_.open(job_.ipText.c_str())) return false;
        if (!client_.put(c.id, c.kindMark, moduleFileName(kind, c).c_str(), buffer.get(), length)) return false;
        client_.close();
        return true;
    }

    bool updateComponent(int position) {
        const ComponentEntry& c = job_.pkg().components[static_cast<size_t>(position)];
        const ModuleKind* kind = moduleKind(c.kindMark);
        if (!enterBootloader(c.id)) return false;
        if (kind != nullptr && kind->erase != nullptr && (link_.*kind->erase)(c.id) != ErrorCode::None) return false;
        if (kind == nullptr || (link_.*kind->update)(c.id) != ErrorCode::None) return false;
        if (!sendFile(*kind, c, position)) return false;
        host_.waitSeconds(kModuleStoreWait);
        if (!link_.awaitOk(c.id)) return false;
        host_.waitSeconds(kModuleStoreWait);
        if (kind->kind == 1 && inBootloader_) returnToApplication(c.id);
        return true;
    }

    UpdateJob& job_;
    UpdateHost& host_;
    TargetLink& link_;
    CommandChannel& channel_;  // the one link_ works over
    TftpClient client_;
    bool inBootloader_ = false;  // switched to the boot loader and not yet back
};

}  // namespace

bool updateNetworkModule(UpdateJob& job, UpdateHost& host, TargetLink& link, CommandChannel& channel, Clock& clock,
                         uint16_t tftpPort) {
    ModuleUpdate update(job, host, link, channel, clock, tftpPort);
    return update.run();
}

bool updateNetworkModule(UpdateJob& job, UpdateHost& host, TargetLink& link, CommandChannel& channel, Clock& clock) {
    return updateNetworkModule(job, host, link, channel, clock, 0);
}

}  // namespace tarnwick
