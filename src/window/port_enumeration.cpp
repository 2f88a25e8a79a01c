// The start-up port test: every candidate device that opens right now becomes a "COM%d"
// entry, numbered by its place among the candidates.
#include <cstdio>
#include <cstring>

#include "window/main_window.h"
#include "platform/port_names.h"
#include "platform/serial_port.h"
#include "platform/serial_candidates.h"

namespace tarnwick {

void MainWindow::enumeratePorts() {
    portTable.clear();
    std::vector<std::string> entries;
    const std::vector<std::string> candidates = portCandidates ? *portCandidates : serialDeviceCandidates();
    SerialPort port(clock_);
    for (size_t n = 0; n < candidates.size() && n < static_cast<size_t>(kMaxPorts); ++n) {
        if (port.open(candidates[n], 0) != 1) continue;
        port.close();
        const std::string name = portNameOf(n, candidates[n]);
        entries.push_back(name);
        const int k = portTable.count++;
        portTable.number[k] = static_cast<uint8_t>(n);
        std::snprintf(portTable.name[k].data(), portTable.name[k].size(), "%s", name.c_str());
        portTable.devicePath[k] = candidates[n];
    }
    dialog_.setPortList(entries);
}

}  // namespace tarnwick
