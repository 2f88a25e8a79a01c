#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: lists the sample update package,
# then updates the simulated product with it over RS-232C (a pseudo-terminal).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

install_packages
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo
echo "\$ tarnwick versions --file build/sample/sample.bin"
./build/tarnwick versions --file build/sample/sample.bin

# The simulated product: model 0002 as the sample package, MAIN, PLD and OSD at 0100, DSP
# at 0202 (older than the package), BOOT at 0101 (current: passed), MAIN's checksum answer
# as the package's 32-bit word CRC. It prints the pseudo-terminal the program opens.
sim_out="$(mktemp)"
./build/tarnwick-sim --model-code 0002 --version 0=0100 --version 2=0202 --version 6=0101 \
    --info-kind 01=crc >"$sim_out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do [ -s "$sim_out" ] && break; sleep 0.1; done
port="$(head -n 1 "$sim_out")"

# Settling waits at 1/100: the minute of waits of a real product passes in about a second.
echo
echo "\$ TARNWICK_TIME_SCALE=0.01 tarnwick update --file build/sample/sample.bin --port $port"
TARNWICK_TIME_SCALE=0.01 ./build/tarnwick update --file build/sample/sample.bin --port "$port"
