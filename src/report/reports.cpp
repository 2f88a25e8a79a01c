#include "report/reports.h"

#include <cstdio>

#include "report/texts.h"

namespace tarnwick {

std::string reportTargetName(const UpdatePackage& package, uint32_t targetId) {
    const ComponentEntry* c = package.componentById(targetId);
    if (c != nullptr) return c->name;
    char buf[16];
    std::snprintf(buf, sizeof buf, "ID:%02X", targetId & 0xFFu);
    return buf;
}

FailureReport composeFailure(const ErrorRecord& record, bool checkReport, const UpdatePackage& package,
                             uint32_t productCode) {
    FailureReport report;
    report.target = reportTargetName(package, record.targetId);
    report.process = processText(record.processCode);
    report.error = record.errorCode == numberOf(ErrorCode::ProductError) ? microcomputerText(productCode)
                   : checkReport                 ? checkErrorText(record.errorCode)
                                                 : linkErrorText(record.errorCode);
    return report;
}

std::string failureBoxText(const FailureReport& report) {
    return "Target : " + report.target + "\nProcess : " + report.process + "\nError : " + report.error + "\n";
}

std::string stationFailureLine(int stationNumber, const FailureReport& report) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", stationNumber);
    return std::string("No[") + number + "],Target[" + report.target + "],Process[" + report.process + "],Error[" +
           report.error + "]";
}

std::string resultReportText(int code, const std::string& productModel, const std::string& packageModel) {
    return code == 5 ? modelMismatchText(productModel, packageModel) : resultText(code);
}

}  // namespace tarnwick
