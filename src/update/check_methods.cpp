#include "update/check_methods.h"

#include <array>

namespace tarnwick {

namespace {

struct CheckRow {
    CheckMethod verify;  // checkMode 0
    CheckMethod sum;     // checkMode 1
};

using enum CheckMethod;

// Rows by writeMethod 1..7.
constexpr std::array<CheckRow, 7> kCheckTable = {{
    {ReadBack, Checksum},      // 1: 16-bit checksum
    {ReadBack, Checksum},      // 2: 32-bit checksum
    {ReadBack, ReadBack},      // 3
    {Checksum, Checksum},      // 4: 16-bit checksum
    {Fail, Fail},              // 5
    {StatusWord, StatusWord},  // 6
    {None, None},              // 7
}};

}  // namespace

CheckMethod checkMethodFor(uint8_t writeMethod, int checkMode) {
    if (writeMethod < 1 || writeMethod > kCheckTable.size()) return Fail;
    const CheckRow& row = kCheckTable[writeMethod - 1u];
    return checkMode == 0 ? row.verify : row.sum;
}

}  // namespace tarnwick
