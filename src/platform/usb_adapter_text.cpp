#include "platform/usb_adapter.h"

namespace tarnwick {

std::string usbAdapterText(const UsbAdapter& adapter) {
    if (adapter.vendorId.empty()) return "";
    std::string text = "USB " + adapter.vendorId + ":" + adapter.productId;
    for (const std::string* part : {&adapter.manufacturer, &adapter.product}) {
        if (!part->empty()) text += " " + *part;
    }
    if (!adapter.serial.empty()) text += ", serial " + adapter.serial;
    return text;
}

}  // namespace tarnwick
