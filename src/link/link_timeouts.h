// How long the link waits for the product and for its network module, each wait with its
// reason. A wait of t is t / kPollInterval polls (t x 100); the receivers restart their
// count as the protocol says. Answer waits are never scaled for demos. The waits that
// depend on the target are in target_facts.h.
#pragma once
#include <chrono>
#include <cstdint>

namespace tarnwick {

// One poll of a wait: look for bytes, else wait up to 10 ms for them.
inline constexpr std::chrono::milliseconds kPollInterval{10};

// Above its cap a receiver takes a wait as kOverCapWait: the longest a caller may ask of the
// frame receiver is 600 s (the last block of a part that sends it once), of the information
// receiver 180 s and of the line reader 60 s.
inline constexpr std::chrono::seconds kFrameWaitCap{600};
inline constexpr std::chrono::seconds kInfoWaitCap{180};
inline constexpr std::chrono::seconds kLineWaitCap{60};
inline constexpr std::chrono::seconds kOverCapWait{60};

// --- frames whose answer does not depend on the target ---
// The 'X' acknowledgement comes before the product restarts its communication.
inline constexpr std::chrono::seconds kSwitchAnswerWait{5};
// The 'S' acknowledgement, before the product sends the range.
inline constexpr std::chrono::seconds kReadRequestAnswerWait{5};
// The 'L' acknowledgement comes once the range is erased; over TCP the product allows only
// half of it, and an erase that takes longer is sent again (required, not a slip).
inline constexpr std::chrono::seconds kSerialEraseAnswerWait{10};
inline constexpr std::chrono::seconds kTcpEraseAnswerWait{5};
// A middle 'P' block is only stored; first and last blocks wait as the target says.
inline constexpr std::chrono::seconds kMiddleBlockAnswerWait{5};
// Each data frame of a read-back.
inline constexpr std::chrono::seconds kReadBackFrameWait{5};

// --- text commands of the normal mode ---
// Each answer line; a skipped line restarts it.
inline constexpr std::chrono::seconds kLineAnswerWait{1};
// Over TCP the first "VIALL" line is read after a short pause.
inline constexpr std::chrono::milliseconds kPauseBeforeInfoLines{10};

// --- the network module's command port (the longest silence allowed, not the whole wait) ---
// The prompt after "\r\n" tells whether the module is already in the wanted mode.
inline constexpr std::chrono::seconds kModulePromptWait{5};
// "ok" to "start image" or "start bootloader".
inline constexpr std::chrono::seconds kModuleModeSwitchWait{300};
// "ok" to an erase command.
inline constexpr std::chrono::seconds kModuleEraseWait{30};
// "start tftp client" to an update command.
inline constexpr std::chrono::seconds kModuleTftpReadyWait{300};
// "ok" once the module has stored the file it received.
inline constexpr std::chrono::seconds kModuleStoredWait{60};

// The 10 ms polls of a wait (t x 100).
constexpr uint32_t pollsOf(std::chrono::milliseconds wait) {
    return static_cast<uint32_t>(wait / kPollInterval);
}

}  // namespace tarnwick
