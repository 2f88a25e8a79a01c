// What sysfs tells of the USB adapter behind a serial device: vendor and product id,
// serial number and description.
#pragma once
#include <string>

namespace tarnwick {

struct UsbAdapter {
    std::string vendorId;  // four hex digits; empty when the device is no USB adapter
    std::string productId;
    std::string serial;
    std::string manufacturer;
    std::string product;
};

// The adapter of /dev/NAME through SYSROOT/class/tty/NAME/device and its parents.
UsbAdapter usbAdapterOf(const std::string& devicePath, const std::string& sysRoot = "/sys");

// "USB 0403:6001 FTDI FT232R USB UART, serial A10K3X"; "" for no USB adapter.
std::string usbAdapterText(const UsbAdapter& adapter);

}  // namespace tarnwick
