// Every decoder that takes bytes from outside, fed a few thousand seeded mutations of good
// input: no crash (under the sanitizer build, no read or write past a buffer), results in
// range, lengths within their buffers, and what is accepted is what was sent.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include "link/target_link.h"
#include "package/header_parser.h"
#include "package/line_reader.h"
#include "package/package_fixture.h"
#include "station/station_info.h"
#include "report/error_record.h"
#include "sim_engine.h"
#include "sim_sockets.h"
#include "support/memory_transport.h"
#include "support/mutation.h"
#include "support/test_clock.h"
#include "update/ethernet/tftp_client.h"

namespace tarnwick::test {

using namespace std::chrono_literals;
namespace {

using Check = std::function<std::string(const Bytes&)>;

constexpr int kRounds = 3000;

// A link whose product has sent exactly the bytes given, and then nothing.
struct LinkOver {
    VirtualClock clock;
    MemoryTransport wire;
    std::unique_ptr<TargetLink> link;
    explicit LinkOver(const Bytes& bytes) {
        wire.feed(bytes);
        link = std::make_unique<TargetLink>(wire, clock);
    }
};

std::string outOfRange(const char* what, long value) { return std::string(what) + " " + std::to_string(value); }

Bytes concat(std::vector<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes text(const std::string& s) { return {s.begin(), s.end()}; }

Check frameReceiver() {
    auto readBack = std::make_shared<Bytes>(kReadBackBufferSize);
    return [readBack](const Bytes& bytes) -> std::string {
        LinkOver l(bytes);
        uint32_t position = kReadBackBufferSize - 1500;  // a middle block lands near the end
        for (int frames = 0; frames < 64; ++frames) {
            const ReceiveResult r = l.link->receiveFrame(1, 1s);
            if (r < ReceiveResult::Ack || r > ReceiveResult::ReadFailed) return outOfRange("result", long(r));
            if (l.link->rxLength() > largestFrameFor(1)) return outOfRange("frame length", long(l.link->rxLength()));
            if (r == ReceiveResult::TimedOut || r == ReceiveResult::ReadFailed) return "";
            if (r == ReceiveResult::ProductData || r == ReceiveResult::BlockData) {
                (void)l.link->storeData(readBack->data(), position);
                if (position > kReadBackBufferSize) return outOfRange("stored up to", long(position));
            }
        }
        return "";
    };
}

Check infoReceiver() {
    return [](const Bytes& bytes) -> std::string {
        LinkOver l(bytes);
        const ReceiveResult r = l.link->receiveInfoFrame(1, 1s);
        if (r < ReceiveResult::Ack || r > ReceiveResult::ReadFailed) return outOfRange("result", long(r));
        if (l.link->rxLength() > kFrameBufferSize) return outOfRange("frame length", long(l.link->rxLength()));
        const uint32_t count = static_cast<uint32_t>(bytes.size() % (kInfoEntryMax + 8));
        const InfoRecord record = l.link->infoAnswer(count);
        if (count > kInfoEntryMax && record.value != 0) return "entries beyond the table were decoded";
        return "";
    };
}

// A text answer is either a line that starts with its prefix and ends with CR, or a code.
Check textAnswer(std::string prefix) {
    return [prefix](const Bytes& bytes) -> std::string {
        LinkOver l(bytes);
        const ErrorCode r = l.link->readLine(prefix, 1s);
        const std::string line = l.link->lastLine();
        if (r != ErrorCode::None) {
            return r == ErrorCode::Timeout || r == ErrorCode::Comm || r == ErrorCode::BadLine ? "" : outOfRange("code", long(r));
        }
        const size_t n = l.link->rxLength();
        if (line.rfind(prefix, 0) != 0 || n == 0 || l.link->rxBuffer()[n - 1] != '\r') return "accepted " + line;
        return n <= kLineMax ? "" : outOfRange("line length", long(n));
    };
}

Check moduleAnswer() {
    return [](const Bytes& bytes) -> std::string {
        LinkOver l(bytes);
        const AwaitResult r = l.link->awaitText("ok", 1s);
        if (r != AwaitResult::Arrived) {
            return r == AwaitResult::Silence || r == AwaitResult::TooLong ? "" : outOfRange("code", long(r));
        }
        return l.link->lastLine() == "ok" ? "" : "accepted " + l.link->lastLine();
    };
}

Check targetInformation() {
    return [](const Bytes& bytes) -> std::string {
        LinkOver l(bytes);
        const ErrorCode r = l.link->readInfoLines();
        if (r != ErrorCode::None && r != ErrorCode::Timeout && r != ErrorCode::Comm) return outOfRange("code", long(r));
        const TargetInfo& t = l.link->targetInfo;
        for (const std::string* f : {&t.model, &t.serialNumber, &t.macAddress, &t.productId, &t.packageId, &t.hardwareId}) {
            if (f->size() > kInfoTextMax) return "field of " + std::to_string(f->size());
        }
        for (int k = 0; k < kInfoSlots; ++k) {
            if (t.slotNames[k].size() > kInfoTextMax || t.slotVersions[k].size() > kInfoTextMax) return "slot text";
        }
        if (t.componentLines() != 4 && t.componentLines() != 8) return outOfRange("component lines", t.componentLines());
        const int valid = t.versionsValid();
        return valid == 0 || valid == 1 ? "" : outOfRange("versionsValid", valid);
    };
}

Check packageHeader() {
    return [](const Bytes& bytes) -> std::string {
        Bytes copy = bytes;
        UpdatePackage pkg;
        std::FILE* f = testing_package::memoryStream(copy);
        const HeaderParseResult r = parseHeader(f, pkg);
        std::fclose(f);
        if ((r.result == 1) != (r.message == nullptr)) return outOfRange("result", r.result);
        if (r.result != 1) return "";
        if (pkg.componentCount < 1 || pkg.componentCount > kMaxComponents) return outOfRange("components", pkg.componentCount);
        for (int p = 0; p < pkg.componentCount; ++p) {
            const uint8_t id = pkg.order[static_cast<size_t>(p)];
            if (id < 1 || id > kMaxTargetId) return outOfRange("id", id);
            if (pkg.positionOfId[id] < p || pkg.positionOfId[id] >= pkg.componentCount) return outOfRange("position", p);
        }
        return "";
    };
}

// The file lives in memory: a few thousand writes to a disk would dominate the run.
Check stationInformation() {
    auto fd = std::shared_ptr<int>(new int(memfd_create("station-info", MFD_CLOEXEC)), [](int* f) {
        ::close(*f);
        delete f;
    });
    return [fd](const Bytes& bytes) -> std::string {
        const std::string path = "/proc/self/fd/" + std::to_string(*fd);
        if (ftruncate(*fd, 0) != 0 || pwrite(*fd, bytes.data(), bytes.size(), 0) != ssize_t(bytes.size())) return "memory file";
        StationInfo info;
        const int r = readStationInfo(path, info);
        if (r != (info.keyLines == 3 ? 1 : 0)) return outOfRange("result", r);
        if (info.ipText.size() >= kLineBufferSize || info.drive.size() >= kLineBufferSize) return "value past its line";
        (void)stationIpAddress(info.ipText);
        return "";
    };
}

// The module's replies come as datagrams from a loopback socket playing the module.
Check tftpReplies() {
    struct Module {
        VirtualClock clock;
        TftpClient client{clock};
        std::string error;
        int fd = sim::bindUdp("127.0.0.1", 0, error);
        sockaddr_in clientAt{};
        ~Module() { sim::closeFd(fd); }
    };
    auto m = std::make_shared<Module>();
    m->client.setServerPort(sim::boundPort(m->fd));
    const bool linked = m->fd >= 0 && m->client.open("127.0.0.1") &&
                        sim::socketAddress("127.0.0.1", sim::boundPort(m->client.socket().handle()), m->clientAt);
    return [m, linked](const Bytes& bytes) -> std::string {
        if (!linked) return "no loopback module";
        if (sendto(m->fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&m->clientAt), sizeof m->clientAt) < 0) return "send";
        const TftpReply r = m->client.awaitReply(1);
        const bool known = r == TftpReply::Ack || r == TftpReply::Error || r == TftpReply::Nothing ||
                           r == TftpReply::Failed || r == TftpReply::OtherBlock;
        return known ? "" : outOfRange("reply", long(r));
    };
}

struct Decoder {
    const char* name;
    std::function<std::vector<Bytes>()> seeds;
    std::function<Check()> check;
};

void PrintTo(const Decoder& d, std::ostream* out) { *out << d.name; }

std::vector<Bytes> productAnswer(const std::string& command, sim::SimConfig config = {}) {
    sim::SimEngine product(config);
    return {product.feed(reinterpret_cast<const uint8_t*>(command.data()), command.size())};
}

const Decoder kDecoders[] = {
    {"frame receiver",
     [] {
         const Bytes data = pkgbuild::patternData(700, 5);
         return std::vector<Bytes>{concat({buildDataFrame('D', 1, kBlockMiddle, 0x2000, data.data(), 700), buildFrame('A', 1)}),
                                   concat({buildFrame('E', 1, {0xEC}), buildFrame('P', 1, {2, 0, 4, 0, 0, 0, 0})})};
     },
     frameReceiver},
    {"information receiver",
     [] { return std::vector<Bytes>{buildFrame('I', 1, Bytes(14, 0x5A)), buildFrame('C', 1)}; }, infoReceiver},
    {"text answer", [] { return std::vector<Bytes>{text("xx\rRBSTART\r"), text("RBSTAR RBSTART ok\r")}; },
     [] { return textAnswer("RBSTART"); }},
    {"module answer", [] { return std::vector<Bytes>{text("Erasing...\r\nok\r\n> "), text("o\nok")}; }, moduleAnswer},
    {"target information",
     [] {
         sim::SimConfig shortAnswer;
         shortAnswer.model = kShortAnswerModel;
         return std::vector<Bytes>{productAnswer("VIALL?\r")[0], productAnswer("VIALL?\r", shortAnswer)[0]};
     },
     targetInformation},
    {"package header", [] { return std::vector<Bytes>{pkgbuild::buildPackage(testing_package::smallPackage())}; }, packageHeader},
    {"station information",
     [] { return std::vector<Bytes>{text("IPAddress;127.0.0.9 \r\nSkip;ON\r\nDrive;/media/a\r\n;x\nOther;1\n")}; },
     stationInformation},
    {"TFTP replies", [] { return std::vector<Bytes>{{0, 4, 0, 1}, concat({{0, 5, 0, 3}, text("Disk full"), {0}})}; }, tftpReplies},
};

class DecoderMutation : public ::testing::TestWithParam<Decoder> {};

TEST_P(DecoderMutation, MutatedInputGivesASaneResult) {
    const Decoder& d = GetParam();
    EXPECT_EQ(mutationRounds(0x7A12, kRounds, d.seeds(), d.check()), "");
}

INSTANTIATE_TEST_SUITE_P(Decoders, DecoderMutation, ::testing::ValuesIn(kDecoders));

}  // namespace
}  // namespace tarnwick::test
