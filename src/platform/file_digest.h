// The SHA-256 of a file, by the platform's own cryptography (OpenSSL on Linux, CNG on Windows).
#pragma once
#include <cstddef>
#include <string>

namespace tarnwick {

// 64 lower-case hex digits; "" when the file cannot be read.
std::string sha256OfFile(const std::string& path);

// Lower-case hex of bytes.
std::string hexOf(const unsigned char* bytes, size_t count);

}  // namespace tarnwick
