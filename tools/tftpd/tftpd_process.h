// Debian's in.tftpd (tftpd-hpa) in the foreground on a loopback address, serving a
// directory where written files are created; stopped at the end. The TFTP client's
// interoperability test and benchmark put their images to it.
#pragma once
#include <arpa/inet.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace tarnwick::tftpd {

class TftpdProcess {
public:
    static constexpr const char* kProgram = "/usr/sbin/in.tftpd";

    TftpdProcess() = default;
    ~TftpdProcess() { stop(); }
    TftpdProcess(const TftpdProcess&) = delete;
    TftpdProcess& operator=(const TftpdProcess&) = delete;

    // Starts the server on address:69; "" when it serves, else why it cannot.
    std::string start(const std::string& address, const std::string& dir) {
        if (access(kProgram, X_OK) != 0) return std::string(kProgram) + " is missing (Debian package tftpd-hpa)";
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(69);
        if (inet_pton(AF_INET, address.c_str(), &at.sin_addr) != 1) return "bad address " + address;
        if (std::string why = probeBind(at); !why.empty()) return why;
        const passwd* user = getpwuid(geteuid());
        const std::string listen = address + ":69";
        pid_ = fork();
        if (pid_ == 0) {
            execl(kProgram, kProgram, "-L", "-c", "-a", listen.c_str(), "-u", user ? user->pw_name : "root", "-s",
                  dir.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ < 0) return std::string("fork: ") + std::strerror(errno);
        return waitUntilBound(at);
    }

    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    static std::string probeBind(const sockaddr_in& at) {
        int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const bool bound = fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0;
        const int err = errno;
        if (fd >= 0) close(fd);
        return bound ? "" : std::string("cannot bind UDP port 69: ") + std::strerror(err);
    }

    // The server's socket shows up in /proc/net/udp once it is bound.
    std::string waitUntilBound(const sockaddr_in& at) {
        char local[32];
        std::snprintf(local, sizeof local, "%08X:%04X", at.sin_addr.s_addr, 69);
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < until) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return std::string(kProgram) + " ended at once";
            }
            std::ifstream table("/proc/net/udp");
            for (std::string line; std::getline(table, line);) {
                if (line.find(local) != std::string::npos) return "";
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        stop();
        return std::string(kProgram) + " did not bind in time";
    }

    pid_t pid_ = -1;
};

}  // namespace tarnwick::tftpd
