// What the operator can do next, said beside the system's own boxes (never inside them):
// after a check the product did not answer, and after a run that left the product's return
// to its normal mode unconfirmed.
#pragma once
#include <cstdint>
#include <string>

#include "link/target_info.h"
#include "package/update_package.h"

namespace tarnwick {

// The things to look at when the product does not answer over the link (commType 0
// RS-232C, 1 Ethernet to address).
std::string noAnswerChecklist(int commType, const std::string& address);

// What a question of a run is about: each component the plan would downgrade or change in
// type, with the package's and the product's versions ("" when none is).
std::string questionSubject(const UpdatePackage& package, const TargetInfo& product, int updateMode,
                            uint32_t routeAttributes);

// The recovery question: the product was found in its update mode (a broken update).
extern const char* const kRecoveryQuestionSubject;

// The product may still be in its update mode after "Update completed.".
extern const char* const kStillInUpdateModeWarning;

}  // namespace tarnwick
