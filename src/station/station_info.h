// What a station reads for itself: its update information file and the update file on its
// drive.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tarnwick {

// The keys of the update information file. A key the file does not give keeps what the
// caller put there (the drive starts as the program's drive).
struct StationInfo {
    std::string ipText;  // "IPAddress"
    bool skip = false;   // "Skip": true only for "ON"
    std::string drive;   // "Drive"; shorter than a 255-byte line, so it fits the drive text
    int keyLines = 0;    // lines that carried one of the three keys
};

// Reads an update information file: lines of key, ";", value. The key is the text before
// the first ";" as it stands; the value has its trailing white space removed; lines with
// no ";" or with ";" first are passed over, other keys ignored. Lines are read as the
// package header's are (at most 255 bytes a read). 1 when the file was read and exactly
// three key lines were found, 0 when it cannot be opened or the count is different. The
// keys found are in `info` either way.
int readStationInfo(const std::string& path, StationInfo& info);

// Looks in the directory `drive` for "*.bin" and sets `found` to the full path of every entry that is not a
// directory, in the order the directory lists them: the last one wins. 1 when at least
// one matched, else 0 (`found` untouched).
int findUpdateFile(const std::string& drive, std::string& found);

// The product's address from the "IPAddress" text: split at the first three "." into four
// parts, each an unsigned decimal number of which the low 8 bits are kept.
std::array<uint8_t, 4> stationIpAddress(const std::string& ipText);

}  // namespace tarnwick
