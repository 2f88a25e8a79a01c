#include "sim_net_options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarnwick::sim {

const char* const kNetModuleUsage =
    "  --net-module ADDRESS        play the network module: TCP 5001 and TFTP on ADDRESS (127.x.x.x)\n"
    "  --net-tftp-port N           its TFTP server's UDP port (default 69)\n"
    "  --net-command-port N        its command port (default 5001)\n"
    "  --net-restart MS            its restart time in both directions (default 100)\n"
    "  --net-boot-loader           it starts in its boot loader\n"
    "  --net-stays-in-boot-loader  \"start image\" leaves it in its boot loader\n"
    "  --net-no-ok                 it never reports a received file stored\n"
    "  --net-unanswered TEXT       it does not answer the command TEXT (\"\" the empty probe line)\n"
    "  --net-ack-fault KIND[:BLOCK[:COUNT]]  spoil TFTP acknowledgements: drop, duplicate, split,\n"
    "                              wrong-block, foreign-port, foreign-address, junk or error;\n"
    "                              BLOCK 0 is the write request's, -1 any; COUNT -1 all\n";

namespace {

bool parseAckFault(const char* text, AckFault& fault) {
    static const struct {
        const char* name;
        AckFaultKind kind;
    } kKinds[] = {{"drop", AckFaultKind::Drop},
                  {"duplicate", AckFaultKind::Duplicate},
                  {"split", AckFaultKind::Split},
                  {"wrong-block", AckFaultKind::WrongBlock},
                  {"foreign-port", AckFaultKind::ForeignPort},
                  {"foreign-address", AckFaultKind::ForeignAddress},
                  {"junk", AckFaultKind::LeadingJunk},
                  {"error", AckFaultKind::Error}};
    char kind[24] = {0};
    int block = -1, count = 1;
    if (std::sscanf(text, "%23[a-z-]:%d:%d", kind, &block, &count) < 1) return false;
    for (const auto& k : kKinds) {
        if (std::strcmp(kind, k.name) != 0) continue;
        fault.kind = k.kind;
        fault.block = block;
        fault.count = count;
        return true;
    }
    return false;
}

uint16_t portOf(const char* text) { return static_cast<uint16_t>(std::strtoul(text, nullptr, 10)); }

}  // namespace

int parseNetModuleOption(int argc, char** argv, int& i, NetModuleConfig& config, bool& enabled) {
    const std::string a = argv[i];
    if (a.rfind("--net-", 0) != 0) return 0;
    if (a == "--net-boot-loader") return config.startInBootloader = true, 1;
    if (a == "--net-stays-in-boot-loader") return config.staysInBootloader = true, 1;
    if (a == "--net-no-ok") return config.neverStoredOk = true, 1;
    if (i + 1 >= argc) return -1;
    const char* v = argv[++i];
    if (a == "--net-module") {
        config.address = v;
        enabled = true;
    } else if (a == "--net-tftp-port") {
        config.tftpPort = portOf(v);
    } else if (a == "--net-command-port") {
        config.commandPort = portOf(v);
    } else if (a == "--net-restart") {
        config.bootRestartMs = config.appRestartMs = static_cast<uint32_t>(std::strtoul(v, nullptr, 10));
    } else if (a == "--net-unanswered") {
        config.unanswered.insert(v);
    } else if (a == "--net-ack-fault") {
        AckFault fault;
        if (!parseAckFault(v, fault)) return -1;
        config.ackFaults.push_back(fault);
    } else {
        return -1;
    }
    return 1;
}

}  // namespace tarnwick::sim
