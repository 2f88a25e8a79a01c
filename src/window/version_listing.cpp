// "Check Version": the listing of the loaded package's components and versions.
#include <cstdio>

#include "window/main_window.h"

namespace tarnwick {

std::string MainWindow::versionListing() const {
    if (package.componentCount == 0 || package.order[0] == 0) return "Update file is not selected !";
    std::string text = "ID:TargetName   Version\r\n";
    for (int p = 0; p < kMaxComponents; ++p) {
        if (package.order[static_cast<size_t>(p)] == 0) continue;
        const ComponentEntry& c = package.components[static_cast<size_t>(p)];
        char target[64];
        std::snprintf(target, sizeof target, "%02d:%s%s", c.id, c.name.c_str(), kindSuffix(c.kindMark, true));
        const std::string& version = c.versionLabel.empty() ? c.versionText : c.versionLabel;
        char line[128];
        std::snprintf(line, sizeof line, "%-15s %-20s\r\n", target, version.c_str());
        text += line;
    }
    return text;
}

}  // namespace tarnwick
