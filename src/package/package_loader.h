// Loading an update package: the work directory is created, the header parsed into the
// model and each component's data written into its own file in the work directory.
#pragma once
#include <string>

#include "package/update_package.h"
#include "package/work_directory.h"

namespace tarnwick {

// Where the loader's status lines and failure messages go.
class LoadSink {
public:
    virtual ~LoadSink() = default;
    virtual void loadStatus(const std::string& line) = 0;
    virtual void loadFailure(const std::string& message) = 0;
};

// Loads the package at path, its files into workDir (one directory level, created when
// missing, judged by rule and locked for the process: prepareWorkDirectory). 1 on
// success. A failure reports its specific message (where there is one) and then the
// general message of its stage; the fields parsed before it stay. Only a regular file is
// read as the package.
int loadPackage(const std::string& path, const std::string& workDir, UpdatePackage& package, LoadSink& sink,
                WorkDirRule rule = WorkDirRule::Private);

}  // namespace tarnwick
