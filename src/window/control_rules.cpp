// The enabling rules of the main window's controls and the target list.
#include <cstdio>

#include "window/control_ids.h"
#include "window/main_window.h"

namespace tarnwick {

namespace {
constexpr const char* kNoTarget = "--:-----";
}

void MainWindow::disableControls() {
    readControls();
    static const int kBefore[] = {ctl::RadioRs232c, ctl::RadioEthernet, ctl::RadioIeee1394, ctl::PortList,
                                  ctl::BaudList,    ctl::IpAddress,     ctl::TcpPort,       ctl::CheckComm,
                                  ctl::FilePath,    ctl::ModelText,     ctl::PackageIdText, ctl::ChecksumText,
                                  ctl::Load};
    static const int kAfter[] = {ctl::CheckVersion, ctl::All,      ctl::Select, ctl::NormalUpdate,
                                 ctl::AllDevice,    ctl::Verify,   ctl::Sum,    ctl::PassSame,
                                 ctl::Backup,       ctl::Update,   ctl::Quit};
    for (int id : kBefore) dialog_.enableControl(id, false);
    for (int p = 0; p < kMaxComponents; ++p) dialog_.enableControl(ctl::targetBox(p), false);
    for (int id : kAfter) dialog_.enableControl(id, false);
    writeControls();
}

namespace {

// The communication type that an update of the controls settles on, given the package's mask.
int repairCommType(int commType, uint32_t mask) {
    const bool serial = (mask & 1u) != 0;
    const bool ethernet = (mask & 2u) != 0;
    const bool ieee1394 = (mask & 4u) != 0;
    if (!ethernet && commType == 1) commType = 2;
    switch (commType) {
        case -1: return serial ? 0 : ethernet ? 1 : ieee1394 ? 2 : -1;
        case 0: return serial ? 0 : ethernet ? 1 : ieee1394 ? 2 : -1;
        case 2: return ieee1394 ? 2 : serial ? 0 : ethernet ? 1 : -1;
        default: return commType;
    }
}

}  // namespace

void MainWindow::updateControls() {
    readControls();
    const uint32_t mask = package.commMask;
    dialog_.enableControl(ctl::RadioRs232c, (mask & 1u) != 0);
    dialog_.enableControl(ctl::RadioEthernet, (mask & 2u) != 0);
    dialog_.enableControl(ctl::RadioIeee1394, (mask & 4u) != 0);
    commType = repairCommType(commType, mask);
    dialog_.enableControl(ctl::PortList, commType == 0);
    dialog_.enableControl(ctl::IpAddress, commType == 1);
    for (int id : {ctl::FilePath, ctl::ModelText, ctl::PackageIdText, ctl::ChecksumText, ctl::Load}) {
        dialog_.enableControl(id, true);
    }
    for (int p = 0; p < kMaxComponents; ++p) {
        dialog_.enableControl(ctl::targetBox(p), package.order[static_cast<size_t>(p)] != 0 && operationMode == 1);
    }
    if (package.selectAllowed) {
        dialog_.enableControl(ctl::All, true);
        dialog_.enableControl(ctl::Select, true);
    } else {
        operationMode = 0;
        dialog_.enableControl(ctl::All, false);
        dialog_.enableControl(ctl::Select, false);
    }
    updateMode = 0;
    dialog_.enableControl(ctl::NormalUpdate, true);
    dialog_.enableControl(ctl::AllDevice, true);
    const bool loaded = !checksumText.empty();
    dialog_.enableControl(ctl::Verify, loaded);
    dialog_.enableControl(ctl::Sum, loaded);
    dialog_.enableControl(ctl::CheckComm, true);
    dialog_.enableControl(ctl::Quit, true);
    dialog_.enableControl(ctl::CheckVersion, loaded);
    dialog_.enableControl(ctl::Update, loaded);
    writeControls();
}

void MainWindow::refreshTargetList() {
    readControls();
    modelText = package.modelName;
    packageIdText = package.packageId;
    if (modelText.empty()) {
        checksumText.clear();
    } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%08X", package.packageChecksum);
        checksumText = buf;
    }
    for (int p = 0; p < kMaxComponents; ++p) {
        const size_t i = static_cast<size_t>(p);
        const int box = ctl::targetBox(p);
        int& checked = targetChecked[i];
        if (package.order[i] == 0) {
            dialog_.setControlCaption(box, "");
            checked = 0;
            dialog_.enableControl(box, false);
            continue;
        }
        const ComponentEntry& c = package.components[i];
        char buf[64];
        std::snprintf(buf, sizeof buf, "%02X:%s%s", c.id, c.name.c_str(), kindSuffix(c.kindMark, false));
        std::string caption = buf;
        bool enabled = false;
        if (commType == 0 || commType == 1) {
            const bool allowed = c.hasAttribute(commType == 0 ? kAttrRs232c : kAttrEthernet);
            if (allowed) {
                checked = 1;
                enabled = true;
            } else {
                caption = kNoTarget;
                checked = 0;
            }
        } else {
            checked = 0;
        }
        if (operationMode == 0) {
            if (!caption.empty() && caption != kNoTarget) checked = 1;
            enabled = false;
        } else if (caption.empty()) {
            enabled = false;
        }
        dialog_.setControlCaption(box, caption);
        dialog_.enableControl(box, enabled);
    }
    writeControls();
}

}  // namespace tarnwick
