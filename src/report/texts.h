// The fixed texts of the failure and result reports.
#pragma once
#include <cstdint>
#include <string>

namespace tarnwick {

// "Switch of target" ... "Other processes".
const char* processText(uint32_t processCode);
// The "Error" part of a link report.
const char* linkErrorText(uint32_t errorCode);
// The "Error" part of a check report: like the link report, with 1 and 2 named.
const char* checkErrorText(uint32_t errorCode);
// The product's own error texts "(E0)" .. "(EE)"; anything else is the unknown text.
const char* microcomputerText(uint32_t productCode);
// The text of a result code (code 5 has its own composed text, see modelMismatchText).
const char* resultText(int code);
// Codes 0 and 10 are shown as information, every other code as an error.
bool isInfoResult(int code);
// The text of result code 5.
std::string modelMismatchText(const std::string& productModel, const std::string& packageModel);

}  // namespace tarnwick
