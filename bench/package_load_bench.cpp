// Package load throughput: a 20-component, 100 MB package loaded by the main window
// (header parse and one file per component) against a plain chunked copy of the same file.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/console_dialog.h"
#include "app/main_window.h"
#include "pkgbuild/package_builder.h"
#include "platform/clock.h"
#include "platform/tone.h"

namespace {

using Seconds = std::chrono::duration<double>;

tarnwick::pkgbuild::PackageDescription bigPackage() {
    tarnwick::pkgbuild::PackageDescription p;
    constexpr size_t kComponentSize = 5u * 1000u * 1000u;
    for (int i = 0; i < 20; ++i) {
        tarnwick::pkgbuild::ComponentDescription c;
        c.id = static_cast<uint8_t>(i + 1);
        c.name = "C" + std::to_string(i);
        c.data = tarnwick::pkgbuild::patternData(kComponentSize, static_cast<uint32_t>(i));
        c.switchPath = "01";
        p.components.push_back(std::move(c));
    }
    return p;
}

double plainCopy(const std::string& from, const std::string& to) {
    const auto start = std::chrono::steady_clock::now();
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (in == nullptr || out == nullptr) std::exit(1);
    std::unique_ptr<char[]> chunk(new char[256 * 1024]);
    size_t got = 0;
    while ((got = std::fread(chunk.get(), 1, 256 * 1024, in)) > 0) std::fwrite(chunk.get(), 1, got, out);
    std::fclose(in);
    std::fclose(out);
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

double packageLoad(tarnwick::MainWindow& window, const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    window.package.clear();
    window.updateFilePath = path;
    if (window.loadUpdateFile() != 1) std::exit(1);
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tarnwick-load-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("TMPDIR", dir.c_str(), 1);
    const std::string package = (dir / "big.bin").string();
    if (tarnwick::pkgbuild::writePackage(package, bigPackage()) != 1) return 1;
    const double bytes = static_cast<double>(std::filesystem::file_size(package));

    tarnwick::ConsoleOptions options;
    options.out = stderr;
    tarnwick::ConsoleDialog dialog(options);
    tarnwick::MainWindow window(dialog, tarnwick::systemClock(), tarnwick::silentTone());
    double copyBest = 1e9;
    double loadBest = 1e9;
    for (int pass = 0; pass < 5; ++pass) {
        copyBest = std::min(copyBest, plainCopy(package, (dir / "copy.bin").string()));
        loadBest = std::min(loadBest, packageLoad(window, package));
    }
    std::printf("package: %.0f bytes, 20 components\n", bytes);
    std::printf("plain copy:   %.4f s = %.0f MB/s\n", copyBest, bytes / copyBest / 1e6);
    std::printf("package load: %.4f s = %.0f MB/s\n", loadBest, bytes / loadBest / 1e6);
    std::printf("load/copy speed ratio: %.2f\n", copyBest / loadBest);
    std::filesystem::remove_all(dir);
    return 0;
}
