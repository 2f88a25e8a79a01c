// What the record makes of a run's status lines, failure reports and result: each
// component's outcome, the one a failure is charged to, and what the run never reached.
#include <gtest/gtest.h>

#include "history/record_format.h"
#include "history/run_recorder.h"

namespace tarnwick::test {
namespace {

// MAIN, DSP and PLD written with frames over both routes; the network module's boot
// loader and image only through the module.
UpdatePackage modulePackage() {
    UpdatePackage pkg;
    const struct {
        uint8_t id;
        const char* name;
        uint32_t attributes;
    } rows[] = {{0x01, "MAIN", 3}, {0x11, "DSP", 3}, {0x21, "PLD", 1}, {0x41, "NETBL", 4}, {0x42, "NETIMG", 4}};
    for (const auto& r : rows) {
        ComponentEntry& c = pkg.components[pkg.componentCount];
        c.id = r.id;
        c.name = r.name;
        c.versionText = "0200";
        c.writeMethod = 4;
        c.attributes = r.attributes;
        pkg.positionOfId[r.id] = pkg.componentCount++;
    }
    return pkg;
}

struct Event {
    char what;  // 'S' status line, 'F' failure report, 'R' result
    uint8_t id;
    const char* text;
    int code = 0;
};

struct RecordCase {
    const char* name;
    bool ethernet;
    std::vector<Event> events;
    const char* outcomes;  // "id outcome[: reason]" per component, ';'-separated
};

const RecordCase kCases[] = {
    {"AFailureLeavesTheRestNotAttempted", true,
     {{'S', 0x01, "Updating start..."}, {'S', 0, "Reboot..."}, {'S', 0x11, "Updating start..."},
      {'F', 0x11, "Target : DSP\nError : Timeout!"}, {'R', 0, "Update Failed!", 1}},
     "01 updated;11 failed: Target : DSP Error : Timeout!;21 not over this link;41 not attempted;42 not attempted"},
    {"AModuleFailureIsChargedToTheModuleComponent", true,
     {{'S', 0x01, "Updating start..."}, {'S', 0, "Reboot..."}, {'S', 0x41, "Reboot(Bootloader Mode)..."},
      {'S', 0x41, "Updating(bootloader)..."}, {'F', 0x41, "Target : NETBL"}, {'R', 0, "Update Failed!", 1}},
     "01 updated;11 not attempted;21 not over this link;41 failed: Target : NETBL;42 not attempted"},
    {"AModuleThatFailsBeforeItsFirstLineIsCharged", true,
     {{'S', 0x01, "Updating start..."}, {'S', 0, "Reboot..."}, {'F', 0x42, "Port open error!"},
      {'R', 0, "Update Failed!", 1}},
     "01 updated;11 not attempted;21 not over this link;41 not attempted;42 failed: Port open error!"},
    {"AModuleImageHasNoUpdatingStartLine", true,
     {{'S', 0x41, "Pass update."}, {'S', 0x42, "Reboot(Bootloader Mode)..."}, {'S', 0x42, "Updating(image)..."},
      {'S', 0x42, "Reboot(Application Mode)..."}, {'R', 0, "Update completed.", 0}},
     "01 not attempted;11 not attempted;21 not over this link;41 passed (same version);42 updated"},
    {"AWriteStillRunningAtAFailingResultFailedWithIt", false,
     {{'S', 0x21, "Updating start..."}, {'R', 0, "Update Failed!", 1}},
     "01 not attempted;11 not attempted;21 failed: Update Failed!;41 not over this link;42 not over this link"},
};

std::string outcomes(const RunRecord& run) {
    std::string out;
    for (const ComponentRecord& c : run.components) {
        char id[4];
        std::snprintf(id, sizeof id, "%02X", c.id);
        out += std::string(out.empty() ? "" : ";") + id + " " + outcomeName(c.outcome);
        if (!c.reason.empty()) out += c.outcome == ComponentOutcome::Failed ? ": " + c.reason : " (" + c.reason + ")";
    }
    return out;
}

TEST(RunRecorder, OutcomesFollowTheRun) {
    const UpdatePackage pkg = modulePackage();
    for (const RecordCase& c : kCases) {
        UpdateJob job;
        job.package = &pkg;
        job.targetChecked.fill(1);
        RunRecorder recorder;
        RunContext context;
        context.ethernet = c.ethernet;
        context.packageFile = "/p/package.bin";
        recorder.begin(context, job);
        for (const Event& e : c.events) {
            if (e.what == 'S') recorder.statusShown(e.id, e.text, 0, 0);
            if (e.what == 'F') recorder.failureReported(ErrorRecord{e.id, 1, 5, 0}, e.text);
            if (e.what == 'R') recorder.resultReported(e.code, e.text);
        }
        recorder.finish(nullptr, recorder.record().resultCode, "");
        EXPECT_EQ(outcomes(recorder.record()), c.outcomes) << c.name;
    }
}

}  // namespace
}  // namespace tarnwick::test
