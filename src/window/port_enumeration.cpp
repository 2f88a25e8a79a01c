// The start-up port test: every port number that opens right now becomes a "COM%d" entry.
#include <cstdio>
#include <cstring>

#include "window/main_window.h"
#include "link/target_link.h"

namespace tarnwick {

void MainWindow::enumeratePorts() {
    portTable.clear();
    std::vector<std::string> entries;
    auto link = makeSerialLink(clock_);
    link->setOwner(this);
    for (int n = 0; n < kMaxPorts; ++n) {
        if (link->openPort(static_cast<uint8_t>(n), 0) != 1) continue;
        link->closePort();
        char name[16];
        std::snprintf(name, sizeof name, "COM%d", n + 1);
        entries.emplace_back(name);
        const int k = portTable.count++;
        portTable.number[k] = static_cast<uint8_t>(n);
        std::memcpy(portTable.name[k].data(), name, std::strlen(name) + 1);
    }
    link.reset();
    dialog_.setPortList(entries);
}

}  // namespace tarnwick
