#include "history/run_recorder.h"

#include <chrono>
#include <ctime>

#include "platform/serial_port.h"
#include "platform/utc_time.h"
#include "update/check_methods.h"
#include "update/version_rules.h"

namespace tarnwick {

namespace {

constexpr uint32_t kFrameOverSerial = 1;   // attribute bits of the components each route writes
constexpr uint32_t kFrameOverEthernet = 2;
constexpr uint32_t kNetworkModule = 4;

// The lines of a box's text as one line.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') line += ' ';
            continue;
        }
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

const char* checkName(const ComponentEntry& c, int checkMode, bool module) {
    if (module) return "module acknowledgement";
    switch (checkMethodFor(c.writeMethod, checkMode)) {
        case CheckMethod::ReadBack: return "read back";
        case CheckMethod::Checksum: return "checksum";
        case CheckMethod::StatusWord: return "status word";
        case CheckMethod::None: return "none";
        case CheckMethod::Fail: return "no check method";
    }
    return "";
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\0')) text.pop_back();
    return text;
}

std::string linkText(const UpdateJob& job, bool ethernet) {
    if (ethernet) return job.ipText + " port " + (job.tcpPortText.empty() ? std::string("5000") : job.tcpPortText);
    return job.devicePath + " " + std::to_string(baudRateOf(static_cast<uint8_t>(job.baudSelection))) + " bit/s";
}

}  // namespace

std::string utcNow() { return utcNowText("%Y-%m-%dT%H:%M:%SZ"); }

void RunRecorder::begin(const RunContext& context, const UpdateJob& job) {
    const std::lock_guard<std::mutex> lock(mutex_);
    job_ = &job;
    handling_ = -1;
    record_ = RunRecord{};
    record_.kind = context.kind;
    record_.frontEnd = context.frontEnd;
    record_.startUtc = context.startUtc;
    record_.link = linkText(job, context.ethernet);
    record_.packageFile = context.packageFile;
    if (job.package == nullptr || context.packageFile.empty()) return;
    const UpdatePackage& pkg = job.pkg();
    record_.packageId = pkg.packageId;
    record_.packageModel = pkg.modelCode;
    const uint32_t route = context.ethernet ? (kFrameOverEthernet | kNetworkModule) : kFrameOverSerial;
    for (size_t i = 0; i < pkg.componentCount && i < static_cast<size_t>(kMaxComponents); ++i) {
        const ComponentEntry& c = pkg.components[i];
        ComponentRecord r;
        r.id = static_cast<uint8_t>(c.id);
        r.name = c.name;
        r.packageVersion = packageVersionOf(c);
        r.check = checkName(c, job.checkMode, (c.attributes & kNetworkModule) != 0);
        if ((c.attributes & route) == 0) {
            r.outcome = ComponentOutcome::NotOverLink;
        } else if (job.targetChecked[i] != 1) {
            r.reason = "not selected";
        }
        record_.components.push_back(r);
    }
}

ComponentRecord* RunRecorder::find(uint8_t id) {
    for (ComponentRecord& c : record_.components) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

ComponentRecord* RunRecorder::handling() {
    if (handling_ < 0) return nullptr;
    return &record_.components[static_cast<size_t>(handling_)];
}

bool RunRecorder::isModuleComponent(uint8_t id) const {
    const ComponentEntry* entry = job_->package != nullptr ? job_->pkg().componentById(id) : nullptr;
    return entry != nullptr && (entry->attributes & kNetworkModule) != 0;
}

void RunRecorder::finishHandling() {
    if (ComponentRecord* c = handling()) c->outcome = ComponentOutcome::Updated;
    handling_ = -1;
}

void RunRecorder::start(uint8_t id, ComponentOutcome outcome, const std::string& reason) {
    finishHandling();
    ComponentRecord* c = find(id);
    if (c == nullptr) return;
    c->outcome = outcome;
    c->reason = reason;
    if (outcome == ComponentOutcome::Writing) handling_ = static_cast<int>(c - record_.components.data());
}

// A line of the run's own (target 0) comes only after a component's checks. A network
// module component has no "Updating start...": its first line (the module's restart) begins it.
void RunRecorder::statusShown(uint8_t targetId, const std::string& line, int, int) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job_ == nullptr) return;
    const ComponentRecord* current = handling();
    if (targetId == 0) {
        finishHandling();
    } else if (line == "Pass update.") {
        start(targetId, ComponentOutcome::Passed, "same version");
    } else if (line == "Updating start...") {
        start(targetId, ComponentOutcome::Writing, "");
    } else if (isModuleComponent(targetId) && (current == nullptr || current->id != targetId)) {
        const ComponentRecord* c = find(targetId);
        if (c != nullptr && c->outcome == ComponentOutcome::NotAttempted) start(targetId, ComponentOutcome::Writing, "");
    }
}

// A check's result is its box.
void RunRecorder::boxShown(BoxKind kind, const std::string& text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job_ != nullptr && record_.kind != RunKind::Update && kind != BoxKind::Question) record_.resultText = oneLine(text);
}

// A failure is charged to the component it names: the one being handled, or one the run
// had not yet begun (the network module fails before its first line).
void RunRecorder::failureReported(const ErrorRecord& failure, const std::string& text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job_ == nullptr) return;
    record_.errorBoxes.push_back(oneLine(text));
    const auto id = static_cast<uint8_t>(failure.targetId);
    ComponentRecord* current = handling();
    if (current == nullptr || current->id != id) {
        ComponentRecord* c = find(id);
        if (c == nullptr || c->outcome != ComponentOutcome::NotAttempted || !c->reason.empty()) return;
        start(id, ComponentOutcome::Writing, "");
        current = handling();
    }
    current->outcome = ComponentOutcome::Failed;
    current->reason = oneLine(text);
    handling_ = -1;
}

// A component still being handled when the run fails failed without a report of its own:
// its write method has no check, or the result says why.
void RunRecorder::resultReported(int code, const std::string& text) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job_ == nullptr) return;
    record_.resultCode = code;
    record_.resultText = oneLine(text);
    ComponentRecord* c = handling();
    if (c == nullptr) return;
    handling_ = -1;
    if (code == 0) {
        c->outcome = ComponentOutcome::Updated;
        return;
    }
    c->outcome = ComponentOutcome::Failed;
    const ComponentEntry* entry = job_->package != nullptr ? job_->pkg().componentById(c->id) : nullptr;
    if (entry != nullptr && checkMethodFor(entry->writeMethod, job_->checkMode) == CheckMethod::Fail) {
        c->reason = "no check method for write method " + std::to_string(entry->writeMethod);
    } else {
        c->reason = oneLine(text);
    }
}

void RunRecorder::finish(const TargetInfo* reported, int resultCode, const std::string& endUtc) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (job_ == nullptr) return;
    if (ComponentRecord* c = handling()) {
        c->outcome = resultCode == 0 ? ComponentOutcome::Updated : ComponentOutcome::Failed;
        if (resultCode != 0) c->reason = "the run ended";
    }
    handling_ = -1;
    record_.endUtc = endUtc;
    if (record_.resultCode < 0) record_.resultCode = resultCode;
    record_.model = job_->productModelText;
    if (reported != nullptr) {
        if (!reported->model.empty()) record_.model = trimmed(reported->model);
        record_.serialNumber = trimmed(reported->serialNumber);
        record_.macAddress = trimmed(reported->macAddress);
        record_.packageIdBefore = trimmed(reported->packageId);
        if (!reported->slotVersions[0].empty()) {
            for (ComponentRecord& c : record_.components) c.productVersion = trimmed(productVersionOf(*reported, c.id));
        }
    }
    record_.normalModeConfirmed = record_.kind == RunKind::Update ? resultCode == 0 : !record_.model.empty();
    job_ = nullptr;
}

RunRecord RunRecorder::interruptedRecord(const std::string& endUtc) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    RunRecord run = record_;
    run.interrupted = true;
    run.endUtc = endUtc;
    if (handling_ >= 0) {
        ComponentRecord& c = run.components[static_cast<size_t>(handling_)];
        c.outcome = ComponentOutcome::Failed;
        c.reason = "interrupted";
    }
    if (job_ != nullptr) run.model = job_->productModelText;
    return run;
}

}  // namespace tarnwick
