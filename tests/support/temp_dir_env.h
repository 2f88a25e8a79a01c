// A fresh directory under /tmp, removed with its contents at the end, and an environment
// variable pointed elsewhere for the length of a test.
#pragma once
#include <filesystem>
#include <optional>
#include <string>

#include "support/portable_env.h"

namespace tarnwick::test {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "tarnwick") : path_(makeTempDir(prefix)) {}
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Sets a variable; its earlier value (or its absence) comes back at the end.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setEnv(name, value);
    }
    ~ScopedEnv() { old_ ? setEnv(name_, *old_) : unsetEnv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace tarnwick::test
