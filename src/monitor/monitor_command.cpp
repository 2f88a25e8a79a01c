#include "monitor/monitor_command.h"

#include <array>
#include <cstring>

#include "monitor/monitor_view.h"
#include "station/station_slot.h"
#include "platform/interrupt_flag.h"
#include "platform/shared_area.h"
#include "platform/station_lock.h"

namespace tarnwick {

namespace {

constexpr uint32_t kRefreshMs = 250;
constexpr const char* kClearScreen = "\x1b[H\x1b[J";

// A copy of the area taken at once, so that one table shows one moment.
std::array<uint8_t, kSharedAreaSize> snapshot(const SharedArea& area) {
    std::array<uint8_t, kSharedAreaSize> copy{};
    std::memcpy(copy.data(), area.data(), copy.size());
    return copy;
}

// Which stations have a process now; when each slot last changed is the watcher's to add.
SlotWatches runningStations() {
    SlotWatches watches{};
    for (int n = 1; n <= static_cast<int>(kSlotCount); ++n) watches[static_cast<size_t>(n - 1)].running = stationRunning(n);
    return watches;
}

// When each slot last changed, as this monitor saw it: unknown until the first change seen.
class ChangeTracker {
public:
    void observe(const uint8_t* area, uint64_t nowMs, SlotWatches& watches) {
        for (size_t i = 0; i < kSlotCount; ++i) {
            const uint8_t* slot = area + i * kSlotSize;
            if (seen_ && std::memcmp(slot, last_.data() + i * kSlotSize, kSlotSize) != 0) changedAt_[i] = nowMs;
            if (changedAt_[i] != kNever) watches[i].changedSeconds = static_cast<int64_t>((nowMs - changedAt_[i]) / 1000);
        }
        std::memcpy(last_.data(), area, last_.size());
        seen_ = true;
    }

private:
    static constexpr uint64_t kNever = ~uint64_t{0};
    std::array<uint8_t, kSharedAreaSize> last_{};
    std::array<uint64_t, kSlotCount> changedAt_ = filled();
    bool seen_ = false;
    static std::array<uint64_t, kSlotCount> filled() {
        std::array<uint64_t, kSlotCount> a{};
        a.fill(kNever);
        return a;
    }
};

// Maps the area; false (with the reason on err) when it cannot be read at all.
bool tryOpen(SharedArea& area, const std::string& name, const MonitorIo& io, SharedArea::Result& result) {
    result = area.openReadOnly(name, kSharedAreaSize);
    if (result == SharedArea::Result::Mapped || result == SharedArea::Result::Missing) return true;
    std::fprintf(io.err, "tarnwick monitor: cannot read the shared status area: %s\n", area.lastError().c_str());
    return false;
}

int showSnapshot(const MonitorOptions& options, const std::string& name, const MonitorIo& io) {
    SharedArea area;
    SharedArea::Result result;
    if (!tryOpen(area, name, io, result)) return 1;
    if (result == SharedArea::Result::Missing) {
        std::fprintf(io.err, "No shared status area %s yet: no station has run.\n", name.c_str());
        return 1;
    }
    const auto copy = snapshot(area);
    const SlotWatches watches = runningStations();
    const std::string text = options.json ? monitorJson(copy.data(), watches) : monitorTable(copy.data(), watches);
    std::fputs(text.c_str(), io.out);
    return 0;
}

int watch(const std::string& name, Clock& clock, const MonitorIo& io, bool terminal) {
    const InterruptFlag ctrlC;
    SharedArea area;
    bool saidWaiting = false;
    std::string shown;
    ChangeTracker changes;
    while (!ctrlC.raised()) {
        SharedArea::Result result = SharedArea::Result::Mapped;
        if (!area.mapped() && !tryOpen(area, name, io, result)) return 1;
        if (result == SharedArea::Result::Missing && !saidWaiting) {
            std::fprintf(io.err, "No shared status area %s yet: waiting for a station (Ctrl-C ends).\n", name.c_str());
            saidWaiting = true;
        }
        if (area.mapped()) {
            const auto copy = snapshot(area);
            SlotWatches watches = runningStations();
            // Printed elsewhere than on a terminal only when a slot or a station changed, not
            // because a second went by.
            const std::string unaged = monitorTable(copy.data(), watches);
            changes.observe(copy.data(), clock.nowMs(), watches);
            const std::string table = monitorTable(copy.data(), watches);
            if (terminal) {
                std::fprintf(io.out, "%sStations on %s (Ctrl-C ends)\n\n%s", kClearScreen, name.c_str(), table.c_str());
            } else if (unaged != shown) {
                std::fprintf(io.out, "%s\n", table.c_str());
            }
            shown = unaged;
        }
        std::fflush(io.out);
        clock.sleepMs(kRefreshMs);
    }
    return 0;
}

}  // namespace

int runMonitor(const MonitorOptions& options, const std::string& areaName, Clock& clock, const MonitorIo& io,
               bool terminal) {
    if (options.once || options.json) return showSnapshot(options, areaName, io);
    return watch(areaName, clock, io, terminal);
}

}  // namespace tarnwick
