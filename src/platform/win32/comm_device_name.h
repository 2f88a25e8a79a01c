// The name a COM port opens by: "COM1".."COM256" or "\\.\COMn"; the device namespace
// prefix is added when missing, which ports from COM10 on need.
#pragma once
#include <string>

namespace tarnwick {

inline std::string commDeviceName(const std::string& path) {
    static const std::string kPrefix = "\\\\.\\";
    return path.compare(0, kPrefix.size(), kPrefix) == 0 ? path : kPrefix + path;
}

}  // namespace tarnwick
