// Package load throughput: a 20-component, 100 MB package loaded as "Load" loads it
// (header parse and one file per component) against a plain chunked copy of the same file.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "package/package_loader.h"
#include "package/work_files.h"
#include "pkgbuild/package_builder.h"

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

// Status lines are not shown; a failure ends the benchmark.
class QuietSink final : public tarnwick::LoadSink {
public:
    void loadStatus(const std::string&) override {}
    void loadFailure(const std::string& message) override {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
    }
};

double packageLoad(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    tarnwick::UpdatePackage package;
    QuietSink sink;
    tarnwick::loadPackage(path, tarnwick::workDirFor(false, ""), package, sink);
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

    double copyBest = 1e9;
    double loadBest = 1e9;
    for (int pass = 0; pass < 5; ++pass) {
        copyBest = std::min(copyBest, plainCopy(package, (dir / "copy.bin").string()));
        loadBest = std::min(loadBest, packageLoad(package));
    }
    std::printf("package: %.0f bytes, 20 components\n", bytes);
    std::printf("plain copy:   %.4f s = %.0f MB/s\n", copyBest, bytes / copyBest / 1e6);
    std::printf("package load: %.4f s = %.0f MB/s\n", loadBest, bytes / loadBest / 1e6);
    std::printf("load/copy speed ratio: %.2f\n", copyBest / loadBest);
    std::filesystem::remove_all(dir);
    return 0;
}
