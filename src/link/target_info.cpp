#include "link/target_info.h"

#include <cstring>

namespace tarnwick {

const char* const kShortAnswerModel = "MXQ4410RT";

namespace {

std::string capped(const std::string& text) { return text.substr(0, kInfoTextMax); }

bool isTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string trimmedRight(std::string text) {
    while (!text.empty() && isTrailingSpace(text.back())) text.pop_back();
    return text;
}

// The field a keyed line fills, or null for "VIALLEND:" and unknown keys.
std::string* keyedField(TargetInfo& info, const std::string& prefix) {
    if (prefix == "VIALLS/N.") return &info.serialNumber;
    if (prefix == "VIALLMAC:") return &info.macAddress;
    if (prefix == "VIALLPRODUCTID:") return &info.productId;
    if (prefix == "VIALLPACKAGEID:") return &info.packageId;
    if (prefix == "VIALLHWID:") return &info.hardwareId;
    return nullptr;
}

}  // namespace

void TargetInfo::parseLine(int lineIndex, const std::string& prefix, const std::string& line) {
    if (line.compare(0, prefix.size(), prefix) != 0) return;
    if (prefix != "VIALL") {
        if (std::string* field = keyedField(*this, prefix)) *field = capped(line.substr(prefix.size()));
        return;
    }
    std::string text = trimmedRight(line);
    size_t colon = text.find(':');
    if (colon == std::string::npos) {
        model = capped(text.substr(prefix.size()));
        missingSlots = model == kShortAnswerModel ? 4 : 0;
        return;
    }
    int k = lineIndex - 2;
    if (k < 0 || k >= kInfoSlots) return;
    slotIds[k] = kSlotIds[k];
    slotVersions[k] = capped(text.substr(colon + 1));
    slotNames[k] = capped(text.substr(prefix.size(), colon - prefix.size()));
    slotOfId[slotIds[k]] = static_cast<uint8_t>(k);
}

bool TargetInfo::versionsValid() const {
    for (int k = 0; k < componentLines(); ++k) {
        const std::string& v = slotVersions[k];
        if (v.empty() || v.rfind("B0000", 0) == 0 || v.rfind("I0000", 0) == 0) return false;
    }
    return true;
}

}  // namespace tarnwick
