#include "window/next_steps.h"

namespace tarnwick {

const char* const kStillInUpdateModeWarning =
    "Warning: the product did not confirm its return to the normal mode and may still be in its update mode. "
    "Switch it off and on; if it does not start normally, run the update again.";

std::string noAnswerChecklist(int commType, const std::string& address) {
    if (commType == 1) {
        return "The product did not answer. Check: the network cable and that this computer reaches " + address +
               "; the product's power; that " + address +
               " is the product's address; that ports 23 and 5000 are not blocked; the product's mode "
               "(normal, or update after a broken update).";
    }
    return "The product did not answer. Check: the cable and the port chosen; the product's power; the bit rate; "
           "the product's mode (normal, or update after a broken update).";
}

}  // namespace tarnwick
