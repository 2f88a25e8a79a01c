// The main window: owner of all state and of every procedure of the program.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/control_fields.h"
#include "app/dialog.h"
#include "link/link_owner.h"
#include "link/target_link.h"
#include "package/update_package.h"
#include "platform/clock.h"
#include "platform/tone.h"
#include "update/ethernet/tftp_client.h"

namespace tarnwick {

constexpr int kMaxPorts = 16;
constexpr size_t kComponentBufferSize = 16u * 1024u * 1024u;

// Port list entries: the 0-based port number and the name ("COM%d") of each entry.
struct PortTable {
    std::array<uint8_t, kMaxPorts> number{};
    std::array<std::array<char, 16>, kMaxPorts> name{};
    int count = 0;
    void clear() { *this = PortTable{}; }
};

class MainWindow : public ControlFields, public LinkOwner {
public:
    MainWindow(Dialog& dialog, Clock& clock, Tone& tone, std::vector<std::string> args = {});
    ~MainWindow() override;
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

    // --- status and waits ---
    void showStatus(uint8_t targetId, const std::string& text, int showProgress, int percent) override;
    void ensureStatusWindow();
    void closeStatusWindow();
    void pumpMessages() override;
    void waitSeconds(uint32_t n);
    // The status line as the window shows it.
    std::string composeStatusLine(uint8_t targetId, const std::string& text) const;

    // --- messages and reports ---
    void showInfo(std::string text);
    void showError(std::string text);
    int askYesNo(const std::string& text);
    void reportLinkError(ErrorRecord record) override;
    void reportCheckError(ErrorRecord record) override;
    void reportResult(int code);
    std::string microcomputerErrorText() const;
    void storeStationResult(const std::string& text);
    void storeStationMessage(const std::string& text);
    // The name of a target in reports: its component name, or "ID:%02X".
    std::string reportTargetName(uint32_t targetId) const;

    // --- update package and work directory ---
    int loadUpdateFile();
    int readHeader(std::FILE* file);
    int extractComponents(std::FILE* file);
    int prepareWorkDir();
    void deleteWorkFiles();
    int loadComponentData(int position, uint8_t* buffer, uint32_t& length, uint32_t& byteSum);

    // --- station mode ---
    void computeStationPaths();
    void runStation();
    int ensureSharedArea();
    void releaseSharedArea();

    // --- procedures over the links ---
    void checkCommunication();  // RS-232C
    void runSerialUpdate();
    void checkEthernet();
    void runEthernetUpdate();

    // --- update over RS-232C: steps, version rules, component updates (update/serial/) ---
    int testPort();
    int probeNormalMode();
    int connectForRecovery();
    int readProductVersions();
    int writePackageId();
    int rebootToUpdateMode();
    int connectInUpdateMode();
    int readProductModel();
    int isSameVersion(int position);
    int compareFirmwareType();
    int checkNoDowngrade();
    int updateTargets();
    int switchToTarget(uint8_t fromId, uint8_t toId);
    int openAtUpdateRate();
    int verifyByReadBack(int position, uint8_t* buffer);
    int verifyChecksum(int position);
    int verifyStatusWord(int position);
    int returnToNormalMode();
    // The bit rate of the recovery connect and the check: the package's, else the list's.
    uint8_t updateBaud();
    // A new serialLink owned by this window (with the wire trace when one is asked for).
    void createSerialLink();

    // The port number of the selected port list entry, -1 when none is selected.
    int selectedPortIndex();

    Dialog& dialog() { return dialog_; }
    Clock& clock() { return clock_; }

    // --- state (bound fields come from ControlFields) ---
    std::unique_ptr<TargetLink> serialLink;
    std::unique_ptr<TargetLink> tcpLink;
    std::unique_ptr<TftpClient> netModuleLink;
    StatusWindow* statusWindow = nullptr;
    bool statusQuiet = false;
    bool messagesQuiet = false;
    uint8_t currentNumber = 0;
    uint8_t selectedCount = 0;
    std::string workDir;
    UpdatePackage package;
    bool stationMode = false;
    int stationNumber = 0;
    PortTable portTable;
    std::string productModelText;  // model code the product reported, four hex digits
    std::string linkTracePath;     // wire trace of the links the procedures create; "" none
    int lastResultCode = -1;       // code of the last reportResult, -1 before any
    int lastCheckResult = -1;      // last communication check: 1 OK, 0 NG, -1 none yet

    // Station fields.
    std::string stationDir;
    std::string infoFilePath;
    std::string stationIpText;
    bool skipFlag = false;
    std::array<char, 256> driveText{};
    std::string foundUpdateFile;
    uint8_t* slotBase = nullptr;  // shared status area, null until mapped

    std::vector<std::string> args;  // command-line arguments after the program name
    bool packageLoaded = false;     // the last Load succeeded (cleared by clearAll)

private:
    void parseStationArgument();
    void writeStationStatus(uint8_t targetId, const std::string& text, int percent);
    void showMessage(BoxKind kind, const std::string& text);
    void reportFailure(ErrorRecord record, bool checkReport);

    Dialog& dialog_;
    Clock& clock_;
    Tone& tone_;
};

// The caption of the window.
std::string windowCaption(bool stationMode);

// The application's title, the caption of the message boxes.
extern const char* const kAppTitle;

}  // namespace tarnwick
