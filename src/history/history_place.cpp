#include "history/history_place.h"

#include <openssl/evp.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/machine_name.h"
#include "platform/paths.h"

namespace tarnwick {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? std::string(value) : fallback;
}

// $XDG_STATE_HOME/tarnwick/, each level created.
std::string userStateDir() {
    const std::string home = envOr("HOME", "");
    std::string state = envOr("XDG_STATE_HOME", "");
    if (state.empty()) {
        if (home.empty()) return tempDirWithSeparator();
        createDirectoryLevel(home + "/.local");
        state = home + "/.local/state";
    }
    createDirectoryLevel(state);
    const std::string dir = state + "/tarnwick";
    createDirectoryLevel(dir);
    return dir + "/";
}

}  // namespace

std::string historyFilePath(const std::string& option, bool noHistory, bool programDirectory) {
    if (noHistory) return std::string();
    if (!option.empty()) return option;
    const std::string chosen = envOr("TARNWICK_HISTORY", "");
    if (!chosen.empty()) return chosen;
    if (programDirectory) return programDirWithSeparator() + "history.db";
    return userStateDir() + "history.db";
}

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
    std::string hex;
    char two[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(two, sizeof two, "%02x", digest[i]);
        hex += two;
    }
    return hex;
}

std::string hostName() { return machineName(); }

}  // namespace tarnwick
