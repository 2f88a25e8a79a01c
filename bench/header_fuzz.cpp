// libFuzzer target for the package header parser (clang only, run by hand):
//   header_fuzz -max_total_time=60 CORPUS_DIR
#include <cstdio>
#include <vector>

#include "package/header_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen wants a non-empty buffer
    std::vector<uint8_t> bytes(data, data + size);
    std::FILE* file = fmemopen(bytes.data(), size, "rb");
    if (file == nullptr) return 0;
    tarnwick::UpdatePackage package;
    const tarnwick::HeaderParseResult r = tarnwick::parseHeader(file, package);
    std::fclose(file);
    if (r.result != 0 && r.result != 1) __builtin_trap();
    if ((r.result == 1) != (r.message == nullptr)) __builtin_trap();
    return 0;
}
