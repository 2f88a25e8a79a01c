// One run of "Update", "Check Comm." or an information query, as the history keeps it: who
// ran it where, what the product said it was, what the package held, what became of each
// of the package's components and how the run ended.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick {

enum class RunKind { Update, Check, Info };

enum class ComponentOutcome {
    Writing,       // being written when last heard of (never stored: the run's end decides)
    Updated,       // written and checked
    Passed,        // the product already had the package's version
    Failed,        // reason says why
    NotAttempted,  // the run ended, or was told, before it got there
    NotOverLink,   // the route of the run cannot write it
};

struct ComponentRecord {
    uint8_t id = 0;
    std::string name;
    std::string packageVersion;
    std::string productVersion;  // before the run, "" when the product did not say
    ComponentOutcome outcome = ComponentOutcome::NotAttempted;
    std::string reason;  // of a failure; "same version" for a pass; why it was not attempted
    std::string check;   // how a written component is checked: "read back", "checksum", ...
};

struct RunRecord {
    int64_t runId = 0;  // given by the store; 0 before it is stored
    RunKind kind = RunKind::Update;
    std::string startUtc;  // "2026-12-08T10:41:07Z"
    std::string endUtc;
    std::string host;
    std::string frontEnd;  // "window", "command line", "station 03"
    std::string link;      // "/dev/ttyUSB0 115200 bit/s" or "192.168.0.10 port 5000"

    // The product as it reported itself.
    std::string model;
    std::string serialNumber;
    std::string macAddress;
    std::string packageIdBefore;

    // The package.
    std::string packageFile;
    std::string packageId;
    std::string packageModel;
    std::string packageSha256;

    std::vector<ComponentRecord> components;

    int resultCode = -1;  // -1: no result (declined, or interrupted)
    std::string resultText;
    std::vector<std::string> errorBoxes;  // every link and check error of the run, one line each
    bool normalModeConfirmed = false;    // the product answered again in its normal mode
    bool interrupted = false;
};

const char* kindName(RunKind kind);
const char* outcomeName(ComponentOutcome outcome);
// The inverse of kindName and outcomeName, for records read back; false for an unknown text.
bool kindFromName(const std::string& text, RunKind& kind);
bool outcomeFromName(const std::string& text, ComponentOutcome& outcome);

}  // namespace tarnwick
