// The unattended run of a production-line station: its information file, the update file
// on its drive, the load, the update over the communication type the package leaves
// selected, and the quit. It works the main window as an operator would, with every
// message quiet once the run is prepared.
#pragma once
#include "window/dialog.h"
#include "window/main_window.h"

namespace tarnwick {

class Station;

// The station's own failure texts.
inline constexpr const char* kMsgInfoLoading = "Loading of update info file...";
inline constexpr const char* kMsgInfoOpenFailed = "Processing error of Open update info file!";
inline constexpr const char* kLogInfoUnreadable = "Update information file reading error!";
inline constexpr const char* kLogNoUpdateFile = "Update file is not found!";
inline constexpr const char* kLogUpdateFileUnreadable = "Update file reading error!";

class StationRun {
public:
    StationRun(Station& station, MainWindow& window, Dialog& dialog) : s_(station), w_(window), dialog_(dialog) {}

    // The whole run; it always ends with "Quit".
    void run();
    // The keys of the information file into the station fields. 1 when the file holds
    // exactly three key lines; otherwise the error box and result code 2, and 0.
    int readStationInfo();
    // The last update file on the station's drive into foundUpdateFile; 1 when there is one.
    int findUpdateFile();
    // Ethernet to the information file's address, the package cleared, messages quiet.
    void prepareStationRun();

private:
    // Loads the update file found; on success the target list and the controls by the
    // package's rules.
    int load();
    void explainUpdateFile(const std::string& path);
    // A failure of the run itself: its log file and result code 2.
    void fail(const char* logText);

    Station& s_;
    MainWindow& w_;
    Dialog& dialog_;
};

}  // namespace tarnwick
