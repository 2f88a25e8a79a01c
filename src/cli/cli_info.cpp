// `tarnwick info`: the product's identity and slot versions as "Check Comm." reads them in
// the normal mode ("VIALL?\r"), and with a package the plan of what "Update" would do to
// each of its components. Nothing is written to the product.
#include <cstdio>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_interrupt.h"
#include "cli/cli_route.h"
#include "cli/cli_session.h"
#include "window/console_dialog.h"
#include "monitor/monitor_view.h"
#include "window/main_window.h"
#include "window/update_plan.h"
#include "package/line_reader.h"
#include "package/work_files.h"

namespace tarnwick {

namespace {

constexpr int kExitNoAnswer = 1;
constexpr int kExitNoPackage = 2;
constexpr int kExitUpdateModeOnly = 3;

void printIdentity(std::FILE* out, const TargetInfo& info) {
    std::fprintf(out, "Model:          %s\nSerial number:  %s\nPackage id:     %s\nMAC address:    %s\nSlots:\n",
                 trimRight(info.model).c_str(), trimRight(info.serialNumber).c_str(), trimRight(info.packageId).c_str(),
                 trimRight(info.macAddress).c_str());
    for (int k = 0; k < kInfoSlots; ++k) {
        const size_t i = static_cast<size_t>(k);
        if (info.slotVersions[i].empty() && info.slotNames[i].empty()) continue;
        std::fprintf(out, "  %d  %02X:%-12s %s\n", k, info.slotIds[i], trimRight(info.slotNames[i]).c_str(),
                     trimRight(info.slotVersions[i]).c_str());
    }
}

void printPlan(std::FILE* out, const std::vector<PlanLine>& plan, int updateMode) {
    std::fprintf(out, "Plan (%s):\n", updateMode == 0 ? "Normal update." : "ALL device update.");
    std::fprintf(out, "  %-2s %-14s %-20s %-20s %s\n", "ID", "Name", "Package", "Product", "Update");
    for (const PlanLine& l : plan) {
        std::fprintf(out, "  %-2s %-14s %-20s %-20s %s\n", l.row.id.c_str(), l.row.name.c_str(),
                     l.row.packageVersion.c_str(), l.row.productVersion.empty() ? "-" : l.row.productVersion.c_str(),
                     planActionName(l.action));
    }
}

std::string identityJson(const TargetInfo& info) {
    std::string slots;
    for (int k = 0; k < kInfoSlots; ++k) {
        const size_t i = static_cast<size_t>(k);
        if (info.slotVersions[i].empty() && info.slotNames[i].empty()) continue;
        slots += std::string(slots.empty() ? "" : ",") + "{\"slot\":" + std::to_string(k) + ",\"id\":" +
                 jsonId(info.slotIds[i]) + ",\"name\":" + jsonString(trimRight(info.slotNames[i])) +
                 ",\"version\":" + jsonString(trimRight(info.slotVersions[i])) + "}";
    }
    return "\"model\":" + jsonString(trimRight(info.model)) + ",\"serial_number\":" +
           jsonString(trimRight(info.serialNumber)) + ",\"package_id\":" + jsonString(trimRight(info.packageId)) +
           ",\"mac_address\":" + jsonString(trimRight(info.macAddress)) + ",\"slots\":[" + slots + "]";
}

std::string planJson(const std::vector<PlanLine>& plan) {
    std::string list;
    for (const PlanLine& l : plan) {
        list += std::string(list.empty() ? "" : ",") + "{\"id\":" + jsonString(l.row.id) + ",\"name\":" +
                jsonString(l.row.name) + ",\"package_version\":" + jsonString(l.row.packageVersion) +
                ",\"product_version\":" + jsonString(l.row.productVersion) + ",\"action\":\"" +
                planActionName(l.action) + "\"}";
    }
    return ",\"plan\":[" + list + "]";
}

// The identity, and the plan when a package is loaded.
void printProduct(CliSession& session, const SerialOptions& route, bool allDevices, const CommandIo& io) {
    const MainWindow& window = session.window;
    const int mode = allDevices ? 1 : 0;
    std::vector<PlanLine> plan;
    if (window.packageLoaded) plan = updatePlan(window.package, window.checkedProduct, mode, route.ethernet ? kAttrEthernetFrames : kAttrRs232c);
    if (session.json) {
        session.json->write("\"event\":\"info\"," + identityJson(window.checkedProduct) +
                            (window.packageLoaded ? planJson(plan) : std::string()));
        return;
    }
    printIdentity(io.out, window.checkedProduct);
    if (window.packageLoaded) printPlan(io.out, plan, mode);
}

// The check, heard by no one: its box stays off the output.
void checkQuietly(CliSession& session) {
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    std::FILE* shown = session.dialog.output();
    if (nowhere != nullptr) session.dialog.setOutput(nowhere);
    UpdateObserver* observer = session.window.observer;
    session.window.observer = nullptr;
    session.window.onCheckComm();
    session.window.observer = observer;
    session.dialog.setOutput(shown);
    if (nowhere != nullptr) std::fclose(nowhere);
}

// The product's answer to the check; the exit status.
int showProduct(CliSession& session, const SerialOptions& route, bool allDevices, const CommandIo& io) {
    chooseRoute(session.window, session.dialog, route);
    checkQuietly(session);
    if (session.window.lastCheckResult != 1) {
        std::fputs("tarnwick info: the product does not answer.\n", io.err);
        return kExitNoAnswer;
    }
    if (!session.window.productKnown) {
        if (session.json) {
            session.json->write("\"event\":\"info\",\"update_mode_only\":true");
        } else {
            std::fputs("The product answers only in its update mode: it reports no versions; \"Update\" will offer "
                       "the recovery update.\n", io.out);
        }
        return kExitUpdateModeOnly;
    }
    printProduct(session, route, allDevices, io);
    return 0;
}

}  // namespace

int runInfoCommand(const CommandOptions& options, const CommandIo& io) {
    SerialOptions route;
    std::string problem;
    if (!parseSerialOptions(options, route, problem) || !createTrace(route, problem)) {
        return usageError(io, "info", problem);
    }
    InterruptGuard interrupts(io.err, workDirFor(false, ""));  // nothing is written: Ctrl-C ends at once
    ConsoleOptions console;
    console.out = io.out;
    console.answerPolicy = AnswerPolicy::No;
    const std::string file = options.value("--file");
    console.fileToOpen = file.empty() ? "" : absolutePath(file);
    CliSession session(io, console, options.has("--json"));
    session.recordRuns(options);
    session.window.checkKind = RunKind::Info;
    startConsoleWindow(session.window, session.dialog, route, io, "info");
    int status = kExitNoPackage;
    if (!file.empty()) session.window.onLoad();
    if (!file.empty() && !session.window.packageLoaded) {
        explainPackageFailure(io, "info", console.fileToOpen);
    } else {
        status = showProduct(session, route, options.has("--all-devices"), io);
    }
    deleteWorkFiles(session.window.package);
    return status;
}

}  // namespace tarnwick
