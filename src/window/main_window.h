// The main window: the operator's controls and choices, the loaded package and the
// station fields. Its handlers build a job from the controls and run the procedures of
// src/update on it; as their UpdateHost it shows their status lines, boxes and reports.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "window/control_fields.h"
#include "window/dialog.h"
#include "window/row_states.h"
#include "window/run_versions.h"
#include "window/station_host.h"
#include "history/history_store.h"
#include "history/run_recorder.h"
#include "link/target_info.h"
#include "package/update_package.h"
#include "platform/clock.h"
#include "platform/tone.h"
#include "update/update_host.h"
#include "update/update_job.h"
#include "update/update_observer.h"

namespace tarnwick {

constexpr int kMaxPorts = 16;

// Port list entries: the 0-based port number, the name ("COM%d") and the device of each entry.
struct PortTable {
    std::array<uint8_t, kMaxPorts> number{};
    std::array<std::array<char, 16>, kMaxPorts> name{};
    std::array<std::string, kMaxPorts> devicePath{};
    int count = 0;
    void clear() { *this = PortTable{}; }
};

class MainWindow : public ControlFields, public UpdateHost {
public:
    MainWindow(Dialog& dialog, Clock& clock, Tone& tone, std::vector<std::string> args = {});
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // --- start-up, handlers, shutdown ---
    void initDialog();
    void enumeratePorts();
    void clearAll();
    void onCommTypeChanged();
    void onModeClicked();  // 1032, 1033, 1055, 1056
    void onLoad();
    void onCheckComm();
    void onUpdate();
    void onQuit();
    void onClose();
    // "Check Version": the version listing of the loaded package.
    std::string versionListing() const;

    // --- control rules ---
    void readControls();
    void writeControls();
    void disableControls();
    void updateControls();
    void refreshTargetList();

    // --- the procedures' host: status, waits, boxes and reports ---
    void showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) override;
    void closeStatusWindow() override;
    void pumpMessages() override;
    void repaintDuringWait() override;
    void waitSeconds(std::chrono::seconds n) override;
    void showInfo(std::string text) override;
    void showError(std::string text) override;
    int askYesNo(const std::string& text) override;
    void reportLinkError(ErrorRecord record) override;
    void reportCheckError(ErrorRecord record) override;
    void reportResult(int code) override;
    void setQuiet(bool quiet) override;
    void jobChanged(const UpdateJob& changed) override;
    void attachLink(const LinkErrorSource* link) override;

    // --- update package (into workDir) ---
    int loadUpdateFile();

    // --- procedures over the links, on the job read from the controls ---
    void checkCommunication();  // RS-232C
    void runSerialUpdate();
    void checkEthernet();
    // The result of a communication check and what the product reported to it.
    void recordCheck(int result, const TargetInfo& reported);
    void runEthernetUpdate();

    // --- state (bound fields come from ControlFields) ---
    UpdateJob job;                               // the job of the run in progress, or of the last one
    const LinkErrorSource* activeLink = nullptr;  // the link of the run in progress
    StatusWindow* statusWindow = nullptr;
    bool statusQuiet = false;
    bool messagesQuiet = false;
    std::string workDir;
    UpdatePackage package;
    bool stationMode = false;
    int stationNumber = 0;
    PortTable portTable;
    // The serial devices the start-up port test tries, in port order; unset: this
    // machine's candidates (serialDeviceCandidates).
    std::optional<std::vector<std::string>> portCandidates;
    std::string linkTracePath;  // wire trace of the links the procedures create; "" none
    int lastResultCode = -1;    // code of the last reportResult, -1 before any
    int lastCheckResult = -1;   // last communication check: 1 OK, 0 NG, -1 none yet
    UpdateObserver* observer = nullptr;  // hears the status lines, boxes and reports; null none
    // The record of the run in progress or of the last one; it hears what the observer hears,
    // and the station's lines too. history (null: none) keeps every record when the run ends.
    RunRecorder recorder;
    HistoryStore* history = nullptr;
    std::string frontEnd = "window";
    std::string packageSha256;  // of the package last loaded, when a history is kept
    // Stores a run's record with this machine's name and the package's SHA-256; nothing
    // without a history.
    void keepRecord(RunRecord run);
    // Reports code for an update that ended before its procedure started and records the
    // run with errorLine ("" none) as its error.
    void endBeforeStart(int code, const std::string& errorLine);
    // The serial number of the product last checked or updated; "" when none answered.
    std::string lastSerialNumber() const;
    // The history's table of the runs of a serial number ("" every run).
    std::string historyListing(const std::string& serialNumber) const;
    RunKind checkKind = RunKind::Check;  // what "Check Comm." is recorded as (Info for the product query)
    TargetInfo checkedProduct;  // what the product reported to the last good check
    bool productKnown = false;  // checkedProduct holds versions (cleared when an update changes them)
    uint64_t procedureStartMs = 0;  // when the running handler started, for the elapsed time
    bool updateRunning = false;     // the handler is "Update": the position counts components
    RowStates rowStates;            // what the component table says of each row
    RunVersions runVersions;        // the product's versions before the last update
    std::string nextSteps;          // what the last handler left the operator to do; "" nothing
    bool normalModeConfirmed = false;  // the running update saw the product's return to normal mode

    // Station mode: where status lines, failures and the result go instead of the screen,
    // and the station's run; null for the window and the command line.
    StationHost* station = nullptr;

    // What the operator can do next: under the list, and for the command line to print.
    void setNextSteps(const std::string& text);

    std::vector<std::string> args;  // command-line arguments after the program name
    bool packageLoaded = false;     // the last Load succeeded (cleared by clearAll)

private:
    // The job's inputs from the fields just read from the controls; its outputs stay.
    void readJob();
    int showBox(BoxKind kind, const std::string& text);
    // The component list with the product's versions when known.
    void showComponentPanel();
    // The table's states after Load or a change of link or selection.
    void showSelectionStates();

    // "component n of m" and the elapsed time beside the status line.
    void showPosition();
    // The run's record begins after the job is read and ends with what the product reported.
    void beginRecord(RunKind kind, bool ethernet);
    void endRecord(const TargetInfo& reported, int code);

    Dialog& dialog_;
    Clock& clock_;
    Tone& tone_;
};

// The caption of the window.
std::string windowCaption(bool stationMode);

// The application's title, the caption of the message boxes.
extern const char* const kAppTitle;

}  // namespace tarnwick
