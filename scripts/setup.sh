#!/usr/bin/env bash
# Shared by demo.sh and test.sh: installs the Debian packages the build needs (when run as
# root and something is missing) and builds the project into a build directory.
set -euo pipefail

TARNWICK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TARNWICK_PACKAGES=(cmake g++ make pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
                   qt6-base-dev libasound2-dev netbase tftpd-hpa tftp-hpa xvfb xauth
                   dpkg-dev file nlohmann-json3-dev lintian libsqlite3-dev libssl-dev)

install_packages() {
    local missing=()
    for p in "${TARNWICK_PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
        return 0
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_targets DIR TARGET...: configures DIR as build_tree does and builds only the targets named.
build_targets() {
    local dir="$1"; shift
    cmake -S "$TARNWICK_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$dir" -j "$(nproc)" --target "$@"
}

# build_tree DIR [cmake options...]
build_tree() {
    local dir="$1"; shift
    cmake -S "$TARNWICK_ROOT" -B "$dir" "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
