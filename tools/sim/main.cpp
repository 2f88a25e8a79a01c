// tarnwick-sim: the simulated product on a pseudo-terminal (or a given device), or on
// the network at a loopback address (--ip).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "sim_net_options.h"
#include "sim_server.h"
#include "sim_tcp_server.h"

using namespace tarnwick::sim;

namespace {

volatile std::sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

void usage() {
    std::fprintf(stderr,
                 "usage: tarnwick-sim [--device PATH] [--model TEXT] [--serial TEXT] [--package-id XXXX]\n"
                 "                    [--model-code HEX] [--version SLOT=TEXT]... [--update-mode]\n"
                 "                    [--ignore-query] [--silent] [--absent HEX]... [--pace BYTES_PER_S]\n"
                 "                    [--info-kind HEX=sum|crc|status]... [--power-cut MESSAGES]\n"
                 "                    [--fault KIND:LETTER[:SKIP[:COUNT[:CODE]]]]...\n"
                 "                    [--ip ADDR [--tcp-port N] [--text-port N] [--command-port N]\n"
                 "                     [--restart-delay MS] [--close-after BYTES] [--refuse-text-port]]\n"
                 "  Prints the device path the program should open (with --ip: the address and the\n"
                 "  text, command and update ports), then serves until interrupted.\n"
                 "  KIND is silence, nak, error or checksum; LETTER is a frame letter or '*'.\n%s",
                 kNetModuleUsage);
}

bool parseFault(const std::string& text, FrameFault& fault) {
    char kind[16] = {0};
    char letter = 0;
    int skip = 0, count = 1;
    unsigned code = 0xEC;
    if (std::sscanf(text.c_str(), "%15[a-z]:%c:%d:%d:%x", kind, &letter, &skip, &count, &code) < 2) return false;
    std::string k = kind;
    if (k == "silence") fault.kind = FaultKind::Silence;
    else if (k == "nak") fault.kind = FaultKind::Nak;
    else if (k == "error") fault.kind = FaultKind::Error;
    else if (k == "checksum") fault.kind = FaultKind::BadChecksum;
    else return false;
    fault.letter = letter == '*' ? 0 : letter;
    fault.skip = skip;
    fault.count = count;
    fault.errorCode = static_cast<uint8_t>(code);
    return true;
}

// "HEX=sum|crc|status": what the checksum answer of that target carries.
bool parseInfoKind(const char* text, SimConfig& config) {
    const char* eq = std::strchr(text, '=');
    if (eq == nullptr) return false;
    const auto id = static_cast<uint8_t>(std::strtoul(text, nullptr, 16));
    const std::string kind = eq + 1;
    if (kind == "sum") config.infoKinds[id] = InfoKind::ByteSum;
    else if (kind == "crc") config.infoKinds[id] = InfoKind::Crc32Words;
    else if (kind == "status") config.infoKinds[id] = InfoKind::StatusWord;
    else return false;
    return true;
}

// The network options; false when the flag is not one of them.
bool parseTcpFlag(const std::string& flag, const char* v, TcpOptions& tcp, bool& useTcp) {
    auto port = [v] { return static_cast<uint16_t>(std::strtoul(v, nullptr, 10)); };
    if (flag == "--ip") useTcp = true, tcp.address = v;
    else if (flag == "--tcp-port") tcp.updatePort = port();
    else if (flag == "--text-port") tcp.textPort = port();
    else if (flag == "--command-port") {
        // The update port stays the command port's unless --tcp-port names another.
        if (tcp.updatePort == tcp.commandPort) tcp.updatePort = port();
        tcp.commandPort = port();
    }
    else if (flag == "--restart-delay") tcp.restartDelayMs = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
    else if (flag == "--close-after") tcp.closeAfterBytes = std::strtoull(v, nullptr, 10);
    else return false;
    return true;
}

bool parseArgs(int argc, char** argv, SimConfig& config, std::string& device, TcpOptions& tcp, bool& useTcp,
               NetModuleConfig& net, bool& withNet) {
    for (int i = 1; i < argc; ++i) {
        if (int taken = parseNetModuleOption(argc, argv, i, net, withNet)) {
            if (taken < 0) return false;
            continue;
        }
        std::string a = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--update-mode") config.startInUpdateMode = true;
        else if (a == "--ignore-query") config.ignoreTextQuery = true;
        else if (a == "--silent") config.silent = true;
        else if (a == "--refuse-text-port") tcp.refuseTextPort = true;
        else if (!(v = value())) return false;
        else if (a == "--device") device = v;
        else if (a == "--model") config.model = v;
        else if (a == "--serial") config.serialNumber = v;
        else if (a == "--package-id") config.packageId = v;
        else if (a == "--model-code") config.modelCode = static_cast<uint32_t>(std::strtoul(v, nullptr, 16));
        else if (a == "--pace") config.paceBytesPerSecond = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
        else if (a == "--power-cut") config.powerCutAfter = std::atoi(v);
        else if (a == "--absent") config.absentTargets.insert(static_cast<uint8_t>(std::strtoul(v, nullptr, 16)));
        else if (a == "--info-kind") {
            if (!parseInfoKind(v, config)) return false;
        }
        else if (a == "--version") {
            const char* eq = std::strchr(v, '=');
            int slot = std::atoi(v);
            if (!eq || slot < 0 || slot > 7) return false;
            config.slotVersions[static_cast<size_t>(slot)] = eq + 1;
        } else if (a == "--fault") {
            FrameFault f;
            if (!parseFault(v, f)) return false;
            config.faults.push_back(f);
        } else if (!parseTcpFlag(a, v, tcp, useTcp)) {
            return false;
        }
    }
    return true;
}

int serveTcp(const SimConfig& config, const TcpOptions& tcp) {
    SimTcpServer server(config, tcp);
    if (!server.start()) {
        std::fprintf(stderr, "tarnwick-sim: %s\n", server.error().c_str());
        return 1;
    }
    const TcpOptions& o = server.options();
    std::printf("%s %u %u %u\n", o.address.c_str(), o.textPort, o.commandPort, o.updatePort);
    std::fflush(stdout);
    while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    server.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SimConfig config;
    std::string device;
    TcpOptions tcp;
    bool useTcp = false;
    NetModuleConfig net;
    bool withNet = false;
    if (!parseArgs(argc, argv, config, device, tcp, useTcp, net, withNet)) {
        usage();
        return 64;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    SimNetModule module(net);
    if (withNet && !module.start()) {
        std::fprintf(stderr, "tarnwick-sim: network module: %s\n", module.error().c_str());
        return 1;
    }
    if (useTcp) {
        const int status = serveTcp(config, tcp);
        module.stop();
        return status;
    }
    SimServer server(config);
    bool ok = device.empty() ? server.startPty() : server.startOnDevice(device);
    if (!ok) {
        std::fprintf(stderr, "tarnwick-sim: %s\n", server.error().c_str());
        return 1;
    }
    std::printf("%s\n", server.slavePath().c_str());
    std::fflush(stdout);
    while (!g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    module.stop();
    server.stop();
    return 0;
}
