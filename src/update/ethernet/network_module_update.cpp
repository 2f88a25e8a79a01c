// The network module cannot be written by this build: a run that selects a network-module
// component fails here rather than claim a success it did not earn.
#include "update/ethernet/network_module_update.h"

namespace tarnwick {

int updateNetworkModule(UpdateJob& job, UpdateHost&, TargetLink&, Clock&) {
    for (int i = 0; i < kMaxComponents; ++i) {
        const size_t k = static_cast<size_t>(i);
        if (job.targetChecked[k] == 1 && (job.pkg().components[k].attributes & kNetworkModuleAttribute) != 0) return 0;
    }
    return 1;
}

}  // namespace tarnwick
