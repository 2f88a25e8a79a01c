// The fixed waits of the update procedures, and the connect waits they ask of the link,
// each with its reason. A fixed wait is whole seconds of the host's waitSeconds (one-second
// sleeps, each followed by the message pump; scaled for demos by the clock); a connect wait
// is an answer wait of the link, never scaled.
#pragma once
#include <chrono>

namespace tarnwick {

// --- connects, per attempt ---
// A product that may not be in its update mode at all: the check's second try, recovery.
inline constexpr std::chrono::seconds kProbeConnectWait{3};
// A product in its update mode: the update-mode connect, and a target after a switch.
inline constexpr std::chrono::seconds kConnectWait{5};

// --- both routes ---
// A product still starting its components reports missing versions for a while.
inline constexpr std::chrono::seconds kVersionRequeryWait{10};
// "Pass update." stays on the screen before the next component.
inline constexpr std::chrono::seconds kPassWait{3};
// The product settles: after it took the reboot command, after a written component, after a
// target switch, and around each step of the return to normal mode.
inline constexpr std::chrono::seconds kSettleWait{5};

// --- RS-232C ---
// A component whose name begins with "DM8" after its write, and a part that restarts slowly
// after a switch.
inline constexpr std::chrono::seconds kSerialLongSettleWait{60};

// --- Ethernet ---
// A part that restarts slowly after a switch; the connection stays open meanwhile.
inline constexpr std::chrono::seconds kEthernetSlowSwitchWait{20};
// The product restarting into its update mode, counted down second by second after the
// settle wait (155 s in all).
inline constexpr std::chrono::seconds kProductRestartWait{150};

// --- the network module ---
// Restarting into its boot loader: waited out even when the module was there already.
inline constexpr std::chrono::seconds kModuleBootRestartWait{90};
// Restarting into its application.
inline constexpr std::chrono::seconds kModuleAppRestartWait{150};
// Before and after the module's "ok" for a stored file.
inline constexpr std::chrono::seconds kModuleStoreWait{5};

// --- TFTP ---
// A reply to each datagram: 300 polls of 10 ms.
inline constexpr std::chrono::milliseconds kTftpReplyWait{3000};
// A plain sleep between the acknowledged write request and the first data block; no
// messages are pumped meanwhile.
inline constexpr std::chrono::milliseconds kTftpPauseAfterRequest{3000};

}  // namespace tarnwick
