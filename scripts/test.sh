#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once on the normal build (with the
# window) and once on the headless build (no Qt, no ALSA) with AddressSanitizer and
# UndefinedBehaviorSanitizer; then makes the Debian packages and checks them, and cross-builds
# the Windows program and runs its tests and end-to-end runs under Wine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

install_packages

echo "== Build (RelWithDebInfo)"
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== Tests"
(cd build && ctest --output-on-failure -j 2)

echo "== Headless build with AddressSanitizer and UndefinedBehaviorSanitizer"
build_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON -DTARNWICK_BENCH=OFF -DTARNWICK_WINDOW=OFF
echo "== Tests under the sanitizers"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --output-on-failure -j 2)

echo "== Debian packages"
bash scripts/package.sh --check

echo "== Windows build (mingw-w64) and its runs under Wine"
bash scripts/windows.sh --test
