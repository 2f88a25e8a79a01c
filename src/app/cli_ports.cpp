// `tarnwick ports`: every serial port candidate as "COMn  device  state", with the USB
// adapter behind it; the ports that do not open are listed with the reason.
#include <cstdio>

#include "app/cli_commands.h"
#include "platform/posix/device_state.h"
#include "platform/posix/usb_adapter.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

int runPortsCommand(const CommandOptions&, const CommandIo& io) {
    const std::vector<std::string> paths = serialDeviceCandidates();
    int free = 0;
    for (size_t k = 0; k < paths.size(); ++k) {
        const DeviceProbe probe = probeSerialDevice(paths[k]);
        if (probe.state == DeviceState::Free) ++free;
        const std::string usb = usbAdapterText(usbAdapterOf(paths[k]));
        std::fprintf(io.out, "COM%-3zu %s  %s%s%s\n", k + 1, paths[k].c_str(), deviceStateText(probe).c_str(),
                     usb.empty() ? "" : "  ", usb.c_str());
    }
    if (free == 0) {
        std::fputs("No serial port can be opened.\n", io.err);
        return 1;
    }
    return 0;
}

}  // namespace tarnwick
