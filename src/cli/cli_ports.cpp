// `tarnwick ports`: every serial port candidate as "COMn  device  state", with the USB
// adapter behind it; the ports that do not open are listed with the reason.
#include <cstdio>

#include "cli/cli_commands.h"
#include "monitor/monitor_view.h"
#include "platform/device_state.h"
#include "platform/port_names.h"
#include "platform/usb_adapter.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

namespace {

const char* stateName(DeviceState state) {
    switch (state) {
        case DeviceState::Free: return "free";
        case DeviceState::Missing: return "missing";
        case DeviceState::Busy: return "busy";
        case DeviceState::Denied: return "denied";
        case DeviceState::NotSerial: return "not-serial";
        case DeviceState::Failed: break;
    }
    return "failed";
}

std::string usbJson(const UsbAdapter& usb) {
    if (usb.vendorId.empty()) return "null";
    return "{\"vendor_id\":" + jsonString(usb.vendorId) + ",\"product_id\":" + jsonString(usb.productId) +
           ",\"serial\":" + jsonString(usb.serial) + ",\"manufacturer\":" + jsonString(usb.manufacturer) +
           ",\"product\":" + jsonString(usb.product) + "}";
}

std::string portJson(const std::string& name, const std::string& path, const DeviceProbe& probe, const UsbAdapter& usb) {
    return "{\"port\":" + jsonString(name) + ",\"device\":" + jsonString(path) + ",\"state\":\"" +
           stateName(probe.state) + "\",\"detail\":" + jsonString(deviceStateText(probe)) + ",\"usb\":" + usbJson(usb) +
           "}";
}

}  // namespace

int runPortsCommand(const CommandOptions& options, const CommandIo& io) {
    const bool json = options.has("--json");
    const std::vector<std::string> paths = serialDeviceCandidates();
    int free = 0;
    std::string list;
    for (size_t k = 0; k < paths.size(); ++k) {
        const DeviceProbe probe = probeSerialDevice(paths[k]);
        const UsbAdapter usb = usbAdapterOf(paths[k]);
        if (probe.state == DeviceState::Free) ++free;
        if (json) {
            if (!list.empty()) list += ',';
            list += portJson(portNameOf(k, paths[k]), paths[k], probe, usb);
            continue;
        }
        const std::string adapter = usbAdapterText(usb);
        std::fprintf(io.out, "%-6s %s  %s%s%s\n", portNameOf(k, paths[k]).c_str(), paths[k].c_str(), deviceStateText(probe).c_str(),
                     adapter.empty() ? "" : "  ", adapter.c_str());
    }
    if (json) std::fprintf(io.out, "{\"event\":\"ports\",\"ports\":[%s]}\n", list.c_str());
    if (free == 0) {
        std::fputs("No serial port can be opened.\n", io.err);
        return 1;
    }
    return 0;
}

}  // namespace tarnwick
