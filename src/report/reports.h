// Composing the failure and result reports. Where a report goes (a box, a station's slot,
// later the error log) is the caller's business.
#pragma once
#include <cstdint>
#include <string>

#include "package/update_package.h"
#include "report/error_record.h"

namespace tarnwick {

// The three named parts of a failure report.
struct FailureReport {
    std::string target;   // the component's name, or "ID:%02X"
    std::string process;  // the text of the process code
    std::string error;    // the text of the error code, or the product's own text for 0xE1
};

// The name of a target in reports: its component name in the package, or "ID:%02X".
std::string reportTargetName(const UpdatePackage& package, uint32_t targetId);

// The parts of a report of record. checkReport names error codes 1 and 2 as the checks do;
// productCode is the product's own error code behind 0xE1 (anything outside E0..EE reads
// as the unknown text).
FailureReport composeFailure(const ErrorRecord& record, bool checkReport, const UpdatePackage& package,
                             uint32_t productCode);

// "Target : %s\nProcess : %s\nError : %s\n", the text of the error box.
std::string failureBoxText(const FailureReport& report);

// "No[%02d],Target[%s],Process[%s],Error[%s]", the line of a station's slot.
std::string stationFailureLine(int stationNumber, const FailureReport& report);

// The text of a result code; code 5 names the product's and the package's models.
std::string resultReportText(int code, const std::string& productModel, const std::string& packageModel);

}  // namespace tarnwick
