// The main window's fields that are bound to controls. Reading the controls copies the
// controls into these fields; writing the controls copies the fields into the controls.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tarnwick {

struct ControlFields {
    int commType = -1;       // 0 RS-232C, 1 Ethernet, 2 IEEE1394, -1 none
    int checkMode = 1;       // 0 Verify, 1 Sum
    int operationMode = 0;   // 0 All, 1 Select
    int updateMode = 0;      // 0 Normal update., 1 ALL device update.
    std::string checksumText;
    std::string modelText;
    std::string packageIdText;
    std::string updateFilePath;
    std::string tcpPortText;
    int backupSetting = 0;
    int passSameVersion = 0;
    std::array<int, 20> targetChecked{};
    std::array<uint8_t, 4> ipAddress{192, 168, 0, 1};
};

}  // namespace tarnwick
