// The program's version, "major.minor.patch" of the build: the About box and `--version`.
#pragma once

namespace tarnwick {

const char* programVersion();

}  // namespace tarnwick
