#include "line/line_runner.h"

#include <array>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "line/line_report.h"
#include "monitor/monitor_view.h"
#include "station/station_slot.h"
#include "station/station_start.h"
#include "platform/child_processes.h"
#include "platform/shared_area.h"
#include "platform/station_lock.h"
#include "platform/stop_signals.h"

namespace tarnwick {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(100);
constexpr int kTicksPerDraw = 5;
constexpr int kExitStopped = 130;
constexpr const char* kClearScreen = "\x1b[H\x1b[J";

struct Running {
    int number;
    Clock::time_point started;
};

// Starts `program /NN` under the line's mark in its environment; -1 with why when it cannot
// be started.
long startStationProcess(ChildProcesses& children, const std::string& program, int number, std::string& why) {
    char arg[8];
    std::snprintf(arg, sizeof arg, "/%02d", number);
    return children.start(program, {arg}, std::string(kLineStationVariable) + "=1", why);
}

// The slot of a station as it ended: its label and its error line.
SlotContent endedSlot(int number) {
    SharedArea area;
    if (area.openReadOnly(sharedAreaName(), kSharedAreaSize) != SharedArea::Result::Mapped) return {};
    return readSlot(stationSlot(area.data(), number));
}

void drawTable(std::FILE* out) {
    SharedArea area;
    if (area.openReadOnly(sharedAreaName(), kSharedAreaSize) != SharedArea::Result::Mapped) return;
    std::array<uint8_t, kSharedAreaSize> copy{};
    std::memcpy(copy.data(), area.data(), copy.size());
    SlotWatches watches{};
    for (int n = 1; n <= static_cast<int>(kSlotCount); ++n) watches[static_cast<size_t>(n - 1)].running = stationRunning(n);
    std::fprintf(out, "%sThe line (Ctrl-C stops it)\n\n%s", kClearScreen, monitorTable(copy.data(), watches).c_str());
    std::fflush(out);
}

class LineRun {
public:
    LineRun(const LineOptions& options, std::FILE* err) : o_(options), err_(err), next_(options.first) {
        // The line keeps the area open for its whole run: where a named area lives only while
        // a process has it open (Windows), each station's last word stays readable after the
        // station has quit. A station that cannot make the area says so itself.
        (void)area_.create(sharedAreaName(), kSharedAreaSize);
    }

    int run(std::FILE* out) {
        for (int tick = 0; next_ <= o_.last || !running_.empty(); ++tick) {
            if (const int signal = stop_.requested(); signal != 0 && !stopping_) stopAll(signal);
            while (!stopping_ && static_cast<int>(running_.size()) < o_.parallel && next_ <= o_.last) start(next_++);
            reap();
            if (o_.table && tick % kTicksPerDraw == 0) drawTable(out);
            if (!running_.empty()) std::this_thread::sleep_for(kTick);
        }
        return stopping_ ? kExitStopped : 0;
    }

    std::vector<StationOutcome> outcomes() const {
        std::vector<StationOutcome> list;
        for (const auto& [number, outcome] : done_) list.push_back(outcome);
        return list;
    }

private:
    void start(int number) {
        std::string why;
        const long id = startStationProcess(children_, o_.program, number, why);
        if (id < 0) {
            std::fprintf(err_, "tarnwick line: cannot start station %02d (%s): %s\n", number, o_.program.c_str(),
                         why.c_str());
            done_[number] = StationOutcome{number, 127, "ERROR", "", 0};
            return;
        }
        running_[id] = Running{number, Clock::now()};
    }

    void reap() {
        for (const ChildProcesses::Ended& ended : children_.reap()) {
            const auto found = running_.find(ended.id);
            if (found == running_.end()) continue;
            const Running r = found->second;
            running_.erase(found);
            const int code = ended.status;
            const SlotContent slot = endedSlot(r.number);
            const std::chrono::duration<double> elapsed = Clock::now() - r.started;
            done_[r.number] = StationOutcome{r.number, code, outcomeWord(slot.label, code), slot.message, elapsed.count()};
        }
    }

    // A stop asked of the line is passed on to the stations that run; they end honestly.
    void stopAll(int signal) {
        stopping_ = true;
        std::fprintf(err_, "tarnwick line: stopping: %s passed on to the running stations.\n", stopSignalName(signal));
        children_.stopAll(signal);
    }

    const LineOptions& o_;
    std::FILE* err_;
    StopSignals stop_;
    SharedArea area_;
    ChildProcesses children_;
    int next_;
    bool stopping_ = false;
    std::map<long, Running> running_;  // by child id
    std::map<int, StationOutcome> done_;
};

}  // namespace

int runLine(const LineOptions& options, std::FILE* out, std::FILE* err) {
    LineRun line(options, err);
    const int stopped = line.run(out);
    const std::vector<StationOutcome> outcomes = line.outcomes();
    const std::string text = options.json ? outcomeJson(outcomes) : outcomeLines(outcomes);
    std::fputs(text.c_str(), out);
    std::fflush(out);
    if (stopped != 0) return stopped;
    for (const StationOutcome& o : outcomes) {
        if (o.code != 0) return 1;
    }
    return 0;
}

}  // namespace tarnwick
