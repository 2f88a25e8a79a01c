#include "platform/file_digest.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>
#include <memory>

namespace tarnwick {

std::string sha256OfFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return std::string();
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    bool ok = ctx != nullptr && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
    std::array<unsigned char, 65536> buffer{};
    size_t n = 0;
    while (ok && (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) {
        ok = EVP_DigestUpdate(ctx.get(), buffer.data(), n) == 1;
    }
    ok = ok && std::ferror(f) == 0;
    std::fclose(f);
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (!ok || EVP_DigestFinal_ex(ctx.get(), digest.data(), &length) != 1) return std::string();
    return hexOf(digest.data(), length);
}

}  // namespace tarnwick
