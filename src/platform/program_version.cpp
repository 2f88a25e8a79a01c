#include "platform/program_version.h"

namespace tarnwick {

const char* programVersion() { return TARNWICK_VERSION; }

}  // namespace tarnwick
