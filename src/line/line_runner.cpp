#include "line/line_runner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "line/line_report.h"
#include "monitor/monitor_view.h"
#include "station/station_slot.h"
#include "station/station_start.h"
#include "platform/shared_area.h"
#include "platform/station_lock.h"
#include "platform/stop_signals.h"

extern char** environ;

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

// The environment of a station: this one, with the mark that it runs under the line's lock.
std::vector<char*> stationEnvironment(std::string& mark) {
    mark = std::string(kLineStationVariable) + "=1";
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, mark.c_str(), std::strlen(kLineStationVariable) + 1) != 0) env.push_back(*e);
    }
    env.push_back(mark.data());
    env.push_back(nullptr);
    return env;
}

// Starts `program /NN` with nothing on its standard streams (its slot and its error log are
// its record) and no signal blocked; -1 when it cannot be started.
pid_t startStationProcess(const std::string& program, int number) {
    char arg[8];
    std::snprintf(arg, sizeof arg, "/%02d", number);
    std::string name = program, station = arg, mark;
    char* argv[] = {name.data(), station.data(), nullptr};
    std::vector<char*> env = stationEnvironment(mark);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    if (const int failed = posix_spawn(&pid, program.c_str(), &files, &attr, argv, env.data()); failed != 0) {
        errno = failed;
        pid = -1;
    }
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    return pid;
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
    LineRun(const LineOptions& options, std::FILE* err) : o_(options), err_(err), next_(options.first) {}

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
        const pid_t pid = startStationProcess(o_.program, number);
        if (pid < 0) {
            std::fprintf(err_, "tarnwick line: cannot start station %02d (%s): %s\n", number, o_.program.c_str(),
                         std::strerror(errno));
            done_[number] = StationOutcome{number, 127, "ERROR", "", 0};
            return;
        }
        running_[pid] = Running{number, Clock::now()};
    }

    void reap() {
        int status = 0;
        for (pid_t pid; (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
            const auto found = running_.find(pid);
            if (found == running_.end()) continue;
            const Running r = found->second;
            running_.erase(found);
            const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            const SlotContent slot = endedSlot(r.number);
            const std::chrono::duration<double> elapsed = Clock::now() - r.started;
            done_[r.number] = StationOutcome{r.number, code, outcomeWord(slot.label, code), slot.message, elapsed.count()};
        }
    }

    // A stop asked of the line is passed on to the stations that run; they end honestly.
    void stopAll(int signal) {
        stopping_ = true;
        std::fprintf(err_, "tarnwick line: stopping: %s passed on to the running stations.\n", stopSignalName(signal));
        for (const auto& [pid, r] : running_) kill(pid, signal);
    }

    const LineOptions& o_;
    std::FILE* err_;
    StopSignals stop_;
    int next_;
    bool stopping_ = false;
    std::map<pid_t, Running> running_;
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
