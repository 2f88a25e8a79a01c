#include "sim_net_module.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "sim_sockets.h"

namespace tarnwick::sim {

namespace {

constexpr int kLoopMs = 10;
constexpr size_t kLineCap = 256;

TftpServerConfig tftpConfig(const NetModuleConfig& c) {
    TftpServerConfig t;
    t.address = c.address;
    t.port = c.tftpPort;
    t.foreignAddress = c.foreignAddress;
    t.faults = c.ackFaults;
    return t;
}

// The update commands of the boot loader and the kind of image each one takes.
const char* updateKind(const std::string& line) {
    if (line == "update bootloader") return "bootloader";
    if (line == "update image") return "image";
    if (line == "update image cne") return "image cne";
    if (line == "update webpage") return "webpage";
    return nullptr;
}

const char* modeName(ModuleMode mode) {
    return mode == ModuleMode::Bootloader ? "bootloader" : mode == ModuleMode::Application ? "application" : "restart";
}

}  // namespace

SimNetModule::SimNetModule(NetModuleConfig config)
    : config_(std::move(config)),
      tftp_(tftpConfig(config_)),
      mode_(config_.startInBootloader ? ModuleMode::Bootloader : ModuleMode::Application) {}

SimNetModule::~SimNetModule() { stop(); }

bool SimNetModule::start() {
    tftp_.onFile([this](const std::string&, const std::vector<uint8_t>& data) { fileStored(data); });
    if (!tftp_.start()) {
        error_ = "TFTP server: " + tftp_.error();
        return false;
    }
    if (!listen()) {
        tftp_.stop();
        return false;
    }
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void SimNetModule::stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    closeFd(connectionFd_);
    closeFd(listenFd_);
    tftp_.stop();
}

ModuleMode SimNetModule::mode() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

std::vector<std::string> SimNetModule::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::map<std::string, std::vector<uint8_t>> SimNetModule::images() const {
    std::lock_guard lock(mutex_);
    return images_;
}

void SimNetModule::event(const std::string& text) { events_.push_back(text); }

bool SimNetModule::listen() {
    listenFd_ = listenTcp(config_.address, config_.commandPort, error_);
    return listenFd_ >= 0;
}

void SimNetModule::run() {
    while (!stop_) {
        {
            std::lock_guard lock(mutex_);
            finishRestartWhenDue();
            if (storedOkDue_ && connectionFd_ >= 0) {
                storedOkDue_ = false;
                say("\r\nok\r\n# ");
            }
        }
        pollfd p[2] = {{listenFd_, POLLIN, 0}, {connectionFd_, POLLIN, 0}};
        if (poll(p, 2, kLoopMs) <= 0) continue;
        std::lock_guard lock(mutex_);
        if (p[0].revents & POLLIN) accept();
        // Not when the connection polled was just replaced by a new one.
        if (p[1].fd == connectionFd_ && (p[1].revents & (POLLIN | POLLHUP | POLLERR))) readCommands();
    }
}

// A new connection replaces the one before it.
void SimNetModule::accept() {
    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    closeFd(connectionFd_);
    connectionFd_ = fd;
    line_.clear();
    event("connect");
}

void SimNetModule::readCommands() {
    char buffer[512];
    ssize_t n = ::recv(connectionFd_, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n <= 0) {
        closeFd(connectionFd_);
        return;
    }
    for (ssize_t k = 0; k < n && connectionFd_ >= 0; ++k) {
        const char c = buffer[k];
        if (c == '\r') continue;
        if (c != '\n') {
            if (line_.size() < kLineCap) line_.push_back(c);
            continue;
        }
        const std::string line = line_;
        line_.clear();
        const std::string reply = answer(line);
        if (++commands_ == config_.powerCutAfter) return powerCut();
        if (!restartDue_) {
            say(reply);
            continue;
        }
        restartDue_ = false;
        restartInto(nextMode_, nextMode_ == ModuleMode::Bootloader ? config_.bootRestartMs : config_.appRestartMs, reply);
    }
}

// The reply to one command line, on a line of its own after the prompt the command was typed
// at; a mode switch is answered "ok" and then carried out.
std::string SimNetModule::answer(const std::string& line) {
    event("command " + line);
    if (config_.unanswered.count(line) != 0) return "";
    const bool boot = mode_ == ModuleMode::Bootloader;
    const std::string prompt = boot ? "\r\n# " : "\r\n> ";
    if (line.empty()) return prompt;
    if (line == "start bootloader" || line == "start image") {
        const bool toBoot = line == "start bootloader" || config_.staysInBootloader;
        if (toBoot == boot) return "\r\nok" + prompt;
        nextMode_ = toBoot ? ModuleMode::Bootloader : ModuleMode::Application;
        restartDue_ = true;
        return "\r\nok\r\n";
    }
    if (!boot) return "\r\nerror" + prompt;
    if (line == "erase image") {
        images_.erase("image");
        images_.erase("image cne");
        return "\r\nok" + prompt;
    }
    if (line == "erase webpage") {
        images_.erase("webpage");
        return "\r\nok" + prompt;
    }
    if (const char* kind = updateKind(line)) {
        pendingKind_ = kind;
        return "\r\nstart tftp client\r\n";
    }
    return "\r\nerror" + prompt;
}

// The connection and the command port go away until the module is up again; a restart
// time of 0 brings it back at once, before the program has read the "ok".
// The port stops taking connections before the last reply goes out, and with no restart
// time it is back before that reply: a program that connects as soon as it has read the
// reply never reaches the port of the module it left.
void SimNetModule::restartInto(ModuleMode next, uint32_t delayMs, const std::string& lastReply) {
    closeFd(listenFd_);
    nextMode_ = next;
    mode_ = ModuleMode::Restarting;
    restartEnd_ = SteadyClock::now() + std::chrono::milliseconds(delayMs);
    event(std::string("restart ") + modeName(next));
    if (delayMs == 0) finishRestartWhenDue();
    say(lastReply);
    if (connectionFd_ >= 0) ::shutdown(connectionFd_, SHUT_WR);
    closeFd(connectionFd_);
}

void SimNetModule::powerCut() {
    poweredOff_ = true;
    restartDue_ = false;
    storedOkDue_ = false;
    pendingKind_.clear();
    closeFd(connectionFd_);
    closeFd(listenFd_);
    event("power cut");
}

bool SimNetModule::poweredOff() const {
    std::lock_guard lock(mutex_);
    return poweredOff_;
}

void SimNetModule::restorePower() {
    std::lock_guard lock(mutex_);
    if (!poweredOff_) return;
    poweredOff_ = false;
    config_.powerCutAfter = -1;
    line_.clear();
    if (mode_ == ModuleMode::Restarting) mode_ = nextMode_;
    if (listen()) event(std::string("power back ") + modeName(mode_));
}

void SimNetModule::finishRestartWhenDue() {
    if (poweredOff_ || mode_ != ModuleMode::Restarting || SteadyClock::now() < restartEnd_ || !listen()) return;
    mode_ = nextMode_;
    event(std::string("mode ") + modeName(mode_));
}

void SimNetModule::fileStored(const std::vector<uint8_t>& data) {
    std::lock_guard lock(mutex_);
    const std::string kind = pendingKind_.empty() ? "unrequested" : pendingKind_;
    images_[kind] = data;
    pendingKind_.clear();
    event("stored " + kind + " " + std::to_string(data.size()));
    storedOkDue_ = !config_.neverStoredOk;
}

void SimNetModule::say(const std::string& text) {
    if (text.empty() || connectionFd_ < 0) return;
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::send(connectionFd_, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

}  // namespace tarnwick::sim
