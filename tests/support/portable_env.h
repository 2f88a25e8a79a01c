// Environment variables and fresh directories for tests, on Linux and under Wine.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#ifdef _WIN32
#include <process.h>
#endif

namespace tarnwick::test {

inline void setEnv(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());  // an empty value removes the variable
#else
    setenv(name, value.c_str(), 1);
#endif
}

inline void unsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    unsetenv(name);
#endif
}

// A port list naming no port: empty entries are skipped, and Windows cannot hold an empty value.
#ifdef _WIN32
inline constexpr const char* kNoSerialPorts = ";";
#else
inline constexpr const char* kNoSerialPorts = "";
#endif

// A new directory only this test made, under the temporary-files directory; "" on failure.
inline std::string makeTempDir(const std::string& prefix) {
#ifdef _WIN32
    static int counter = 0;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::filesystem::path dir =
            base / (prefix + "-" + std::to_string(_getpid()) + "-" + std::to_string(++counter));
        if (std::filesystem::create_directory(dir, ec)) return dir.generic_string();
    }
    return std::string();
#else
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
#endif
}

}  // namespace tarnwick::test
