// `tarnwick info`: the product's identity and slot versions as "Check Comm." reads them in
// the normal mode ("VIALL?\r"), and with a package the plan of what "Update" would do to
// each of its components. Nothing is written to the product.
#include <cstdio>
#include <string>

#include "app/cli_commands.h"
#include "app/cli_only_port.h"
#include "app/cli_route.h"
#include "app/console_dialog.h"
#include "app/main_window.h"
#include "app/update_plan.h"
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

// The check with its box kept off the output.
void checkQuietly(MainWindow& window, ConsoleDialog& dialog, const CommandIo& io) {
    std::FILE* nowhere = std::fopen("/dev/null", "w");
    if (nowhere != nullptr) dialog.setOutput(nowhere);
    window.onCheckComm();
    dialog.setOutput(io.out);
    if (nowhere != nullptr) std::fclose(nowhere);
}

}  // namespace

int runInfoCommand(const CommandOptions& options, const CommandIo& io) {
    SerialOptions route;
    std::string problem;
    if (!parseSerialOptions(options, route, problem) || !createTrace(route, problem)) {
        return usageError(io, "info", problem);
    }
    OnlyPort port(route.device);
    ConsoleOptions console;
    console.out = io.out;
    console.answerPolicy = AnswerPolicy::No;
    const std::string file = options.value("--file");
    console.fileToOpen = file.empty() ? "" : absolutePath(file);
    ConsoleDialog dialog(console);
    MainWindow window(dialog, systemClock(), silentTone());
    startConsoleWindow(window, dialog, route, io, "info");
    int status = 0;
    if (!file.empty()) window.onLoad();
    if (!file.empty() && !window.packageLoaded) {
        explainPackageFailure(io, "info", console.fileToOpen);
        status = kExitNoPackage;
    } else {
        chooseRoute(window, dialog, route);
        checkQuietly(window, dialog, io);
        if (window.lastCheckResult != 1) {
            std::fputs("tarnwick info: the product does not answer.\n", io.err);
            status = kExitNoAnswer;
        } else if (!window.productKnown) {
            std::fputs("The product answers only in its update mode: it reports no versions; \"Update\" will offer "
                       "the recovery update.\n", io.out);
            status = kExitUpdateModeOnly;
        } else {
            printIdentity(io.out, window.checkedProduct);
            const int mode = options.has("--all-devices") ? 1 : 0;
            if (window.packageLoaded) {
                printPlan(io.out, updatePlan(window.package, window.checkedProduct, mode, route.ethernet ? 2 : 1), mode);
            }
        }
    }
    deleteWorkFiles(window.package);
    return status;
}

}  // namespace tarnwick
