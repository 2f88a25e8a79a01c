// A package that did not load: when the file itself does not open, its path and the OS's
// cause on standard error, after the box the load has shown.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_commands.h"
#include "platform/regular_file.h"

namespace tarnwick {

void explainPackageFailure(const CommandIo& io, const char* command, const std::string& path) {
    std::string why;
    std::FILE* f = openRegularFile(path, kNoSizeLimit, &why);
    if (f != nullptr) {
        std::fclose(f);
        return;
    }
    std::fprintf(io.err, "tarnwick %s: cannot open the package '%s': %s\n", command, path.c_str(), why.c_str());
}

}  // namespace tarnwick
