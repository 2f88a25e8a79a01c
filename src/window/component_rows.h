// What the window lists of the loaded package: one row a component, in position order,
// with the product's version beside the package's once a check has read it.
#pragma once
#include <string>
#include <vector>

#include "link/target_info.h"
#include "package/update_package.h"

namespace tarnwick {

struct ComponentRow {
    std::string id;              // "%02X", as the status line shows it
    std::string name;            // with its kind suffix
    std::string packageVersion;  // the label when the package has one, else the version text
    std::string productVersion;  // what the product reported for the id, "old -> new" once written; "" unknown
    std::string state;           // selected, the plan or the outcome of the last run; "" none
};

// product: the product's answer of the last check, or null when none is known. An id that
// no line of the answer reported has no product version.
std::vector<ComponentRow> componentRows(const UpdatePackage& package, const TargetInfo* product);

}  // namespace tarnwick
