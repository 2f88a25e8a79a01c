// What the operator can do next, said beside the system's own boxes (never inside them):
// after a check the product did not answer, and after a run that left the product's return
// to its normal mode unconfirmed.
#pragma once
#include <string>

namespace tarnwick {

// The things to look at when the product does not answer over the link (commType 0
// RS-232C, 1 Ethernet to address).
std::string noAnswerChecklist(int commType, const std::string& address);

// The product may still be in its update mode after "Update completed.".
extern const char* const kStillInUpdateModeWarning;

}  // namespace tarnwick
