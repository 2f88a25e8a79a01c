// A shared status area of a test's own: TARNWICK_SHM_NAME names a fresh area for the length
// of the test, and the area is removed at its end, so a real line's area is never touched.
#pragma once
#include <unistd.h>

#include <string>

#include "platform/shared_area.h"
#include "support/temp_dir_env.h"

namespace tarnwick::test {

class ScopedArea {
public:
    ScopedArea() : name_(freshName()), env_("TARNWICK_SHM_NAME", name_) { removeSharedArea(name_); }
    ~ScopedArea() { removeSharedArea(name_); }
    ScopedArea(const ScopedArea&) = delete;
    ScopedArea& operator=(const ScopedArea&) = delete;
    const std::string& name() const { return name_; }

private:
    static std::string freshName() {
        static int count = 0;
        return "/tarnwick-test-" + std::to_string(getpid()) + "-" + std::to_string(++count);
    }
    std::string name_;
    ScopedEnv env_;
};

}  // namespace tarnwick::test
