#include "platform/usb_adapter.h"

#include <climits>
#include <cstdlib>
#include <fstream>

namespace tarnwick {

namespace {

constexpr int kMaxLevels = 8;  // from the tty's device up to its USB device

std::string firstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

}  // namespace

UsbAdapter usbAdapterOf(const std::string& devicePath, const std::string& sysRoot) {
    UsbAdapter adapter;
    const std::string name = devicePath.substr(devicePath.rfind('/') + 1);
    char real[PATH_MAX];
    if (name.empty() || realpath((sysRoot + "/class/tty/" + name + "/device").c_str(), real) == nullptr) return adapter;
    std::string dir = real;
    for (int level = 0; level < kMaxLevels && dir.size() > sysRoot.size(); ++level) {
        adapter.vendorId = firstLine(dir + "/idVendor");
        if (!adapter.vendorId.empty()) {
            adapter.productId = firstLine(dir + "/idProduct");
            adapter.serial = firstLine(dir + "/serial");
            adapter.manufacturer = firstLine(dir + "/manufacturer");
            adapter.product = firstLine(dir + "/product");
            return adapter;
        }
        dir = dir.substr(0, dir.rfind('/'));
    }
    return adapter;
}

}  // namespace tarnwick
