#include "platform/device_state.h"

#include "platform/os_error_text.h"

namespace tarnwick {

std::string deviceStateText(const DeviceProbe& probe) {
    switch (probe.state) {
        case DeviceState::Free: return "free";
        case DeviceState::Missing: return "no such device";
        case DeviceState::Busy:
            return probe.holder.empty() ? "busy, in use by another program" : "busy, held by process " + probe.holder;
        case DeviceState::Denied:
            return "permission denied; join the 'dialout' group (sudo usermod -aG dialout $USER, then log in again)";
        case DeviceState::NotSerial: return "not a serial device";
        case DeviceState::Failed: break;
    }
    return std::string("cannot be opened (") + osErrorText(probe.osError) + ")";
}

}  // namespace tarnwick
