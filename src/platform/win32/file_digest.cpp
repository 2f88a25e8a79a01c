#include "platform/file_digest.h"

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstdio>
#include <vector>

namespace tarnwick {

namespace {

// One SHA-256 hash object of the system's cryptography provider, closed on every path.
class Sha256 {
public:
    Sha256() {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return;
        if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0))) hash_ = nullptr;
    }
    ~Sha256() {
        if (hash_ != nullptr) BCryptDestroyHash(hash_);
        if (algorithm_ != nullptr) BCryptCloseAlgorithmProvider(algorithm_, 0);
    }
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    bool ready() const { return hash_ != nullptr; }
    bool add(unsigned char* bytes, size_t count) {
        return BCRYPT_SUCCESS(BCryptHashData(hash_, bytes, static_cast<ULONG>(count), 0));
    }
    bool finish(std::array<unsigned char, 32>& digest) {
        return BCRYPT_SUCCESS(BCryptFinishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0));
    }

private:
    BCRYPT_ALG_HANDLE algorithm_ = nullptr;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

}  // namespace

std::string sha256OfFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::string();
    Sha256 sha;
    bool ok = sha.ready();
    std::vector<unsigned char> buffer(65536);
    size_t n = 0;
    while (ok && (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) ok = sha.add(buffer.data(), n);
    ok = ok && std::ferror(f) == 0;
    std::fclose(f);
    std::array<unsigned char, 32> digest{};
    if (!ok || !sha.finish(digest)) return std::string();
    return hexOf(digest.data(), digest.size());
}

}  // namespace tarnwick
