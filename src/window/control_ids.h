// Control ids of the main window. The window toolkits bind their widgets to these ids.
#pragma once

namespace tarnwick::ctl {

enum : int {
    RadioRs232c = 1000,    // commType 0
    RadioEthernet = 1001,  // commType 1
    RadioIeee1394 = 1002,  // commType 2 (hidden)
    PortList = 1003,
    BaudList = 1004,  // hidden bit-rate list
    FilePath = 1005,
    ModelText = 1006,
    PackageIdText = 1007,  // hidden
    ChecksumText = 1008,
    Load = 1009,
    TargetFirst = 1010,  // hidden target check boxes 1010..1029
    TargetLast = 1029,
    Verify = 1030,  // hidden checkMode 0
    Sum = 1031,     // hidden checkMode 1
    All = 1032,     // hidden operationMode 0
    Select = 1033,  // hidden operationMode 1
    CheckComm = 1038,
    CheckVersion = 1039,  // hidden
    Update = 1040,
    Quit = 1041,
    TcpPort = 1046,    // hidden
    Backup = 1047,     // hidden
    IpAddress = 1053,
    PassSame = 1054,   // hidden
    NormalUpdate = 1055,
    AllDevice = 1056,
};

constexpr int targetBox(int position) { return TargetFirst + position; }

}  // namespace tarnwick::ctl
