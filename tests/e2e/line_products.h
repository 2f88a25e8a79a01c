// A production line of simulated products on the network, one a station: station n's
// product listens on 127.B.C.n, and its directory under a program directory holds its
// information file, which points at one drive with the package.
#pragma once
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "pkgbuild/package_builder.h"
#include "sim_tcp_server.h"

namespace tarnwick::test {

struct LineProducts {
    std::vector<std::unique_ptr<sim::SimTcpServer>> products;

    // Writes the package and the stations' files under dir and starts one product each
    // (configs[n - 1] for station n); false with the reason when a product cannot listen.
    bool start(const std::string& dir, const std::string& addressPrefix, const std::vector<sim::SimConfig>& configs,
               pkgbuild::PackageDescription pkg, uint32_t restartDelayMs, std::string& problem) {
        namespace fs = std::filesystem;
        fs::create_directories(dir + "/drive");
        for (auto& c : pkg.components) c.attributes = 3;  // allowed over Ethernet
        if (pkgbuild::writePackage(dir + "/drive/line.bin", pkg) != 1) { problem = "package not written"; return false; }
        for (size_t i = 0; i < configs.size(); ++i) {
            char number[24];
            std::snprintf(number, sizeof number, "%02zu", i + 1);
            const std::string address = addressPrefix + std::to_string(i + 1);
            fs::create_directories(dir + "/" + number);
            std::ofstream(dir + "/" + number + "/UpdateInformation" + number + ".txt", std::ios::binary)
                << "IPAddress;" << address << "\r\nSkip;OFF\r\nDrive;" << dir << "/drive\r\n";
            sim::TcpOptions net;
            net.address = address;
            net.restartDelayMs = restartDelayMs;
            products.push_back(std::make_unique<sim::SimTcpServer>(configs[i], net));
            if (!products.back()->start()) { problem = products.back()->error(); return false; }
        }
        return true;
    }

    ~LineProducts() {
        for (auto& p : products) p->stop();
    }
};

}  // namespace tarnwick::test
