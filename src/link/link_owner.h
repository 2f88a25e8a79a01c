// What a link object calls back: the main window, or nobody (a link with no owner is silent).
#pragma once
#include <cstdint>
#include <string>

#include "report/error_record.h"

namespace tarnwick {

struct TargetInfo;

class LinkOwner {
public:
    virtual ~LinkOwner() = default;
    virtual void showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) = 0;
    virtual void reportLinkError(ErrorRecord record) = 0;
    virtual void reportCheckError(ErrorRecord record) = 0;
    virtual void pumpMessages() = 0;
    // Called about every 100 ms while an answer is awaited: repaint and move the window,
    // never take input. An owner without a screen ignores it.
    virtual void repaintDuringWait() {}
};

// Where the owner learns the product's own error code behind a 0xE1 report.
class LinkErrorSource {
public:
    virtual ~LinkErrorSource() = default;
    // Byte 3 of the last frame received when its command byte is 'E', else 0.
    virtual uint8_t lastErrorCode() const = 0;
    // What the product reported of itself to this link so far; null when nothing is known.
    virtual const TargetInfo* productInfo() const { return nullptr; }
};

}  // namespace tarnwick
