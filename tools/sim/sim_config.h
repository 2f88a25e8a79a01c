// How the simulated product behaves: identity, versions, answers and scripted faults.
#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarnwick::sim {

// What an 'I' answer with a range carries in its entry value for a target.
enum class InfoKind {
    ByteSum,     // 32-bit sum of the bytes of the range
    Crc32Words,  // the package's word CRC over the range
    StatusWord,  // "OK" in the upper 16 bits ("NG" for targets in statusFailed)
};

enum class FaultKind {
    Silence,      // no answer at all
    Nak,          // an 'N' frame
    Error,        // an 'E' frame with errorCode
    BadChecksum,  // the normal answer with a wrong checksum byte
};

// Applies to frames from the PC with the given letter (0: any letter) and target
// (0xFF: any target): the first `skip` matching frames pass, the next `count` get the fault.
struct FrameFault {
    FaultKind kind = FaultKind::Silence;
    char letter = 0;
    uint8_t targetId = 0xFF;
    int skip = 0;
    int count = 1;
    uint8_t errorCode = 0xEC;
};

struct SimConfig {
    // Normal mode identity ("VIALL?\r").
    std::string model = "TWK-7000";
    std::string serialNumber = "TW0000001";
    std::string macAddress = "00:11:22:33:44:55";
    std::string productId = "TWK7000";
    std::string packageId = "0001";
    std::string hardwareId = "HW01";
    std::array<std::string, 8> slotNames = {"MAIN", "MAINFBL", "DSP", "PLD", "OSDDAT", "DM8FBL", "DM8SBL", "DM8IMG"};
    std::array<std::string, 8> slotVersions = {"0100", "0100", "0100", "0100", "0100", "0100", "0100", "0100"};
    // Update mode identity: the low 16 bits of the 'I' answer's first value.
    uint32_t modelCode = 0x0001;

    bool startInUpdateMode = false;
    bool ignoreTextQuery = false;   // no answer to "VIALL?\r"
    bool silent = false;            // answers nothing at all
    // After an erase ('L'), the slot of that target reports "%04X" of the version number.
    bool versionFromErase = true;

    // Targets that answer nothing; a switch to one of them is refused with 'N'.
    std::set<uint8_t> absentTargets;
    std::map<uint8_t, InfoKind> infoKinds;  // default ByteSum
    std::set<uint8_t> badComponentChecksum; // the reported checksum is off by one
    std::set<uint8_t> statusFailed;         // status word "NG"
    std::set<uint8_t> corruptReadBack;      // the first byte read back is inverted
    std::vector<FrameFault> faults;

    // A power cut: after taking this many messages (frames and text lines) from the PC the
    // product answers nothing, not even the last one, until restorePower(). -1: none.
    int powerCutAfter = -1;

    // Input pacing in bytes per second (0: as fast as the pseudo-terminal goes).
    uint32_t paceBytesPerSecond = 0;
};

}  // namespace tarnwick::sim
