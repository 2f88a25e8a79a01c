// What one run of a procedure needs and what it finds out: the package, the operator's
// selection and modes, how to reach the product, where the files go, and the run's outputs.
// The window builds it from its controls; station mode from its information file.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "package/update_package.h"

namespace tarnwick {

struct UpdateJob {
    const UpdatePackage* package = nullptr;  // the loaded package; never null during a run
    std::array<int, kMaxComponents> targetChecked{};  // 1 for each selected position
    int updateMode = 0;  // 0 Normal update., 1 ALL device update.
    int checkMode = 1;   // 0 Verify, 1 Sum

    // RS-232C: the serial device ("" for none), its 0-based port number ("COM1" is 0, -1
    // for none; the wire trace names the port by it) and the bit-rate list's selection,
    // which decides the update rate when the package names none.
    std::string devicePath;
    int portIndex = -1;
    int baudSelection = 0;
    // Ethernet: the product's address as "%d.%d.%d.%d" and the update-mode port text.
    std::string ipText;
    std::string tcpPortText;

    std::string workDir;    // where the component and verify data files are
    std::string tracePath;  // wire trace of the run's links; "" none

    // --- outputs ---
    std::string productModelText;  // the model the product reported, four hex digits
    uint8_t currentNumber = 0;     // the selected component being handled, counted from 1
    uint8_t selectedCount = 0;     // how many components are selected

    const UpdatePackage& pkg() const { return *package; }
};

}  // namespace tarnwick
