// How a written component is checked, by its write method and the operator's check mode.
#pragma once
#include <cstdint>

namespace tarnwick {

enum class CheckMethod {
    ReadBack,    // read the range back and compare it with the data file
    Checksum,    // ask the product for the range's checksum (16 or 32 bits by write method)
    StatusWord,  // ask the product for its status word ("OK")
    None,        // written and counted as good
    Fail,        // written, then counted as failed without a report
};

// checkMode 0 is "Verify", anything else "Sum".
CheckMethod checkMethodFor(uint8_t writeMethod, int checkMode);

}  // namespace tarnwick
