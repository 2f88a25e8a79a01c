#include "report/texts.h"

#include "report/error_record.h"

namespace tarnwick {

namespace {

constexpr const char* kProcessTexts[] = {
    "Other processes",
    "Switch of target",
    "Connection with target",
    "Setting of baud rate",
    "Request information of target",
    "Update of target",
    "Verify check of update",
    "Check of update",
    "Receive of backup data",
    "Send of backup data",
};

constexpr const char* kUnknown = "Unknown error!";

const char* sharedErrorText(uint32_t errorCode) {
    switch (static_cast<ErrorCode>(errorCode)) {
        case ErrorCode::Comm: return "Communication error!";
        case ErrorCode::Retry: return "Communication retry error!";
        case ErrorCode::Timeout: return "Communication timeout error!";
        case ErrorCode::PortOpen: return "Communication port open error!";
        case ErrorCode::State: return "Processing-regulation outside error!";
        default: return kUnknown;
    }
}

constexpr const char* kMicrocomputerTexts[] = {
    "(E0)Connection error! (Microcomputer side)",
    "(E1)Communication mode switchover error! (Microcomputer side)",
    "(E2)Communication timeout error! (Microcomputer side)",
    "(E3)Communication retry Error! (Microcomputer side)",
    "(E4)Error",
    "(E5)Error",
    "(E6)Error",
    "(E7)Error",
    "(E8)Flash ROM erase error",
    "(E9)Communication timeout error! (Data writing)",
    "(EA)Communication retry error! (Data writing)",
    "(EB)Flash ROM erase error!",
    "(EC)Flash ROM writing error!",
    "(ED)ROM data writing error!",
    "(EE)Backup data writing error! (Microcomputer side)",
};

constexpr const char* kResultTexts[] = {
    "Update completed.",
    "Update Failed!",
    "File reading error!",
    "File writing error!",
    "Update target is not selected!",
    "",  // 5: composed by modelMismatchText
    "Communication error!",
    "Illegal processing!",
    "A version error!",
    "Package Version Update Error!",
    "No device to be renewed.",
};

}  // namespace

const char* processText(uint32_t processCode) {
    if (processCode >= 1 && processCode <= 9) return kProcessTexts[processCode];
    return kProcessTexts[0];
}

const char* linkErrorText(uint32_t errorCode) { return sharedErrorText(errorCode); }

const char* checkErrorText(uint32_t errorCode) {
    switch (static_cast<ErrorCode>(errorCode)) {
        case ErrorCode::Checksum: return "Checksum error!";
        case ErrorCode::Verification: return "Verification error!";
        default: return sharedErrorText(errorCode);
    }
}

const char* microcomputerText(uint32_t productCode) {
    if (productCode >= 0xE0 && productCode <= 0xEE) return kMicrocomputerTexts[productCode - 0xE0];
    return "Unknown error! (Microcomputer side)";
}

const char* resultText(int code) {
    if (code >= 0 && code <= 10) return kResultTexts[code];
    return kUnknown;
}

bool isInfoResult(int code) { return code == 0 || code == 10; }

std::string modelMismatchText(const std::string& productModel, const std::string& packageModel) {
    return "Model id is different!\n Product     : M" + productModel + "\n Update file : M" + packageModel +
           "\n\nCheck the update file.";
}

}  // namespace tarnwick
