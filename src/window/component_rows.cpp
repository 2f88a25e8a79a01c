#include "window/component_rows.h"

#include <cstdio>

#include "window/main_window.h"
#include "package/line_reader.h"
#include "update/version_rules.h"

namespace tarnwick {

namespace {

bool reported(const TargetInfo& product, uint8_t id) {
    return id < kSlotOfIdSize && (product.slotOfId[id] != 0 || id == kSlotIds[0]);
}

}  // namespace

std::vector<ComponentRow> componentRows(const UpdatePackage& package, const TargetInfo* product) {
    std::vector<ComponentRow> rows;
    for (int p = 0; p < kMaxComponents; ++p) {
        const size_t i = static_cast<size_t>(p);
        if (package.order[i] == 0) continue;
        const ComponentEntry& c = package.components[i];
        char id[8];
        std::snprintf(id, sizeof id, "%02X", c.id);
        ComponentRow row{id, c.name + kindSuffix(c.kindMark, false), packageVersionOf(c), "", ""};
        if (product != nullptr && reported(*product, c.id)) row.productVersion = trimRight(productVersionOf(*product, c.id));
        rows.push_back(row);
    }
    return rows;
}

// A package that failed to load lists nothing: its components are not what will be written.
void MainWindow::showComponentPanel() {
    if (!packageLoaded) {
        dialog_.showComponents({});
        return;
    }
    // Once an update has read the product, its versions before the run stay beside what was written.
    const TargetInfo* before = runVersions.before();
    const TargetInfo* shown = before != nullptr ? before : productKnown ? &checkedProduct : nullptr;
    std::vector<ComponentRow> rows = componentRows(package, shown);
    size_t row = 0;
    for (int p = 0; p < kMaxComponents && row < rows.size(); ++p) {
        if (package.order[static_cast<size_t>(p)] == 0) continue;
        ComponentRow& r = rows[row++];
        r.state = rowStates.text(p);
        if (before != nullptr && rowStates.written(p)) {
            r.productVersion = (r.productVersion.empty() ? "" : r.productVersion + " ") + "-> " + r.packageVersion;
        }
    }
    dialog_.showComponents(rows);
}

void MainWindow::showSelectionStates() {
    if (!packageLoaded) return;
    rowStates.showSelection(package, targetChecked, commType);
    showComponentPanel();
}

}  // namespace tarnwick
