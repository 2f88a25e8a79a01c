// A production-line station on the main window: its paths, its unattended run, its slot of
// the shared status area and its error log files.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/shared_area.h"
#include "platform/stop_signals.h"
#include "window/dialog.h"
#include "window/main_window.h"
#include "window/station_host.h"

namespace tarnwick {

class Station final : public StationHost {
public:
    Station(MainWindow& window, Dialog& dialog) : window_(window), dialog_(dialog) {}
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // --- what the window core hands over ---
    void runStation() override;
    std::string workDir() const override;
    void showStatus(uint8_t targetId, const std::string& text, int percent) override;
    void reportFailure(const FailureReport& report, const ErrorRecord& record) override;
    void reportResult(int code) override;
    void releaseSharedArea() override;
    void betweenFrames() override;

    // The station's directory and information file from its number.
    void computeStationPaths();
    // Maps the area at the first status write; 1 when mapped.
    int ensureSharedArea();
    // One error log file in the station directory; 1 when written or already there.
    int writeErrorLog(const std::string& text, uint32_t targetId, int32_t progress);

    int number() const { return window_.stationNumber; }

    // --- station fields ---
    std::string stationDir;
    std::string infoFilePath;
    std::string stationIpText;
    bool skipFlag = false;
    std::array<char, 256> driveText{};
    std::string foundUpdateFile;
    uint8_t* slotBase = nullptr;     // shared status area, null until mapped
    SharedArea sharedArea;           // the mapping behind slotBase
    bool sharedAreaRefused = false;  // it could not be created or mapped: slot writes skipped
    std::string logPath;             // the last error log file
    const StopSignals* stopSignals = nullptr;  // where a stop by signal is asked; null: never

private:
    // The run was asked to stop: "ERROR" and an error line naming the signal in the slot,
    // one error log, no component file left, and the process ends with status 130.
    void endStopped(int signal);

    uint8_t lastTarget_ = 0;     // what the last status report said, for the stop's error line
    std::string lastStatus_;
    int lastPercent_ = 0;
    bool stopping_ = false;
    MainWindow& window_;
    Dialog& dialog_;
};

}  // namespace tarnwick
