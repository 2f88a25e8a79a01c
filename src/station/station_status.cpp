#include "station/station_status.h"

#include <cstdio>
#include <cstring>

namespace tarnwick {

namespace {

struct LabelRule {
    const char* beginning;
    const char* label;
};

constexpr LabelRule kLabelRules[] = {
    {"Loadi", "Loading file..."}, {"Reboot(Up", "Reboot update"}, {"Reboot(Bo", "Reboot Bld Mode"},
    {"Reboot(Ap", "Reboot Apl Mode"}, {"Check", "Check comm."},  {"Backu", "Backup para."},
    {"Writi", "Writing para."},   {"Updat", "Updating..."},      {"Pass ", "Pass update"},
    {"Verif", "Verifying..."},    {"Switc", "Switching..."},
};

bool beginsWith(const std::string& text, const char* beginning) {
    return text.compare(0, std::strlen(beginning), beginning) == 0;
}

}  // namespace

std::string stationShortLabel(const std::string& text) {
    for (const LabelRule& rule : kLabelRules) {
        if (beginsWith(text, rule.beginning)) return rule.label;
    }
    return text;
}

std::string stationTargetText(const UpdatePackage& package, uint8_t targetId, const std::string& text,
                              uint8_t currentNumber, uint8_t selectedCount) {
    if (targetId == 0) return "";
    const bool switching = beginsWith(text, "Switc");
    char buf[64];
    const ComponentEntry* c = package.componentById(targetId);
    if (c == nullptr) {
        std::snprintf(buf, sizeof buf, switching ? "ID:%02X->" : "ID:%02X", targetId);
        return buf;
    }
    if (switching) return c->name + "->";
    std::snprintf(buf, sizeof buf, "%02d/%02d ", currentNumber, selectedCount);
    return buf + c->name;
}

}  // namespace tarnwick
