#!/usr/bin/env bash
# Cross-builds the headless program for 64-bit Windows with mingw-w64: build-windows/tarnwick.exe
# (statically linked: it runs without installing anything) and build-windows/tarnwick-windows.zip
# with the README. With --test it then runs the Windows unit tests and the end-to-end runs under
# Wine (scripts/wine_e2e.sh), which need the Linux build's simulated product.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

TARNWICK_PACKAGES=(cmake make g++-mingw-w64-x86-64-posix googletest nlohmann-json3-dev dpkg-dev tcl zip)
[ "${1:-}" = "--test" ] && TARNWICK_PACKAGES+=(wine64 wine)
install_packages

out=build-windows
deps="$out/deps"
mkdir -p "$deps"

# SQLite's amalgamation, made from Debian's own source package (with Debian's patches), since
# Debian has no SQLite built for mingw-w64.
sqlite_amalgamation() {
    [ -s "$deps/sqlite/sqlite3.c" ] && return 0
    if ! apt-get source --print-uris -qq sqlite3 >/dev/null 2>&1 </dev/null; then
        # apt-get source needs the source lists beside the binary ones.
        [ "$(id -u)" -eq 0 ] || { echo "SQLite's source package needs deb-src lines (run as root)" >&2; exit 1; }
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            >/etc/apt/sources.list.d/debian-src.sources
        apt-get update -qq
    fi
    rm -rf "$deps/sqlite-src" "$deps/sqlite-build"
    (cd "$deps" && apt-get source -qq --download-only sqlite3 </dev/null >/dev/null 2>&1 &&
        dpkg-source -x sqlite3_*.dsc sqlite-src >/dev/null)
    mkdir -p "$deps/sqlite-build" "$deps/sqlite"
    (cd "$deps/sqlite-build" && ../sqlite-src/configure --disable-tcl >/dev/null && make sqlite3.c >/dev/null)
    cp "$deps/sqlite-build/sqlite3.c" "$deps/sqlite-build/sqlite3.h" "$deps/sqlite/"
}

echo "== SQLite amalgamation"
sqlite_amalgamation
echo "== Windows build (mingw-w64)"
cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTARNWICK_SQLITE_SOURCE_DIR="$PWD/$deps/sqlite" -DTARNWICK_TESTS=ON >/dev/null
cmake --build "$out" -j "$(nproc)" --target tarnwick tarnwick_tests
x86_64-w64-mingw32-strip "$out/tarnwick.exe"
rm -f "$out/tarnwick-windows.zip"
(cd "$out" && cp ../README.md README.txt && zip -q tarnwick-windows.zip tarnwick.exe README.txt && rm README.txt)
echo "Built $out/tarnwick.exe and $out/tarnwick-windows.zip"

if [ "${1:-}" = "--test" ]; then
    bash scripts/wine_e2e.sh "$out"
fi
