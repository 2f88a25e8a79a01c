#!/usr/bin/env bash
# Installs what is missing, builds the program, the simulated product and the sample package
# (nothing else), and runs the main job: lists the sample update package, then updates the
# simulated product with it over RS-232C (a pseudo-terminal), normally and then with
# "ALL device update.", then over Ethernet (the simulated product and its network module on
# the loopback address 127.0.0.20).
# With --gui the window opens instead, with the simulated product as its only port; press
# Load (the dialog starts beside sample.bin), Update, and answer the boxes.
# With --station two production-line stations run one after the other, each against its
# own simulated product, and `tarnwick monitor --once` shows the line after each.
set -euo pipefail
gui=0
station=0
case "${1:-}" in
    --gui) gui=1 ;;
    --station) station=1 ;;
    "") ;;
    *) echo "usage: scripts/demo.sh [--gui | --station]" >&2; exit 64 ;;
esac
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

install_packages
build_targets build tarnwick tarnwick-sim make-sample-package sample_package

if [ "$station" -eq 1 ]; then
    exec "$TARNWICK_ROOT/scripts/demo_station.sh"
fi

if [ "$gui" -eq 0 ]; then
    echo
    echo "\$ ./build/tarnwick versions --file build/sample/sample.bin"
    ./build/tarnwick versions --file build/sample/sample.bin
fi

# The demo's runs are recorded in a history file of its own, listed at the end
# (`./build/tarnwick history --json --history build/demo-history.db` shows them in full).
export TARNWICK_HISTORY="$TARNWICK_ROOT/build/demo-history.db"
rm -f "$TARNWICK_HISTORY" "$TARNWICK_HISTORY-wal" "$TARNWICK_HISTORY-shm"

# The simulated product: model 0002 as the sample package, MAIN, PLD and OSD at 0100, DSP
# at 0202 (older than the package), BOOT at 0101 (current: passed), MAIN's checksum answer
# as the package's 32-bit word CRC. It prints the pseudo-terminal the program opens; a
# fresh one is started for each run, so each starts from these versions.
sim_out="$(mktemp)"
sim_pid=""
stop_product() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true; sim_pid=""; }
trap 'stop_product; rm -f "$sim_out"' EXIT
start_product() {
    stop_product
    : >"$sim_out"
    ./build/tarnwick-sim --model-code 0002 --version 0=0100 --version 2=0202 --version 6=0101 \
        --info-kind 01=crc >"$sim_out" &
    sim_pid=$!
    for _ in $(seq 50); do [ -s "$sim_out" ] && break; sleep 0.1; done
    port="$(head -n 1 "$sim_out")"
}

if [ "$gui" -eq 1 ]; then
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "scripts/demo.sh --gui needs a display (DISPLAY is not set)." >&2
        exit 1
    fi
    start_product
    echo "The simulated product listens on $port (COM1 in the window)."
    (cd build/sample && TARNWICK_SERIAL_PORTS="$port" TARNWICK_TIME_SCALE=0.1 ../tarnwick)
    exit 0
fi

# Settling waits at 1/100: the minute of waits of a real product passes in about a second.
# The first update writes what is older than the package and passes BOOT; the second,
# with "ALL device update.", writes and checks every component RS-232C may write.
for extra in "" " --all-devices"; do
    start_product
    echo
    echo "\$ TARNWICK_TIME_SCALE=0.01 ./build/tarnwick update --file build/sample/sample.bin --port $port$extra"
    # shellcheck disable=SC2086
    TARNWICK_TIME_SCALE=0.01 ./build/tarnwick update --file build/sample/sample.bin --port "$port"$extra
done

# The same product on the network, its network module at the same address (command port
# 5001, TFTP on port 69): the sample package's frame components go over TCP, its boot loader
# and image of the network module through the module's boot loader and TFTP. The product and
# the module restart for 0.2 s and 0.1 s; the program's restart waits (155 s for the product,
# 90 s and 150 s for each module restart) pass at 1/100.
stop_product
ip=127.0.0.20
: >"$sim_out"
./build/tarnwick-sim --ip "$ip" --restart-delay 200 --net-module "$ip" --net-restart 100 --model-code 0002 \
    --version 0=0100 --version 2=0202 --version 6=0101 --info-kind 01=crc >"$sim_out" &
sim_pid=$!
for _ in $(seq 50); do grep -q "^$ip " "$sim_out" && break; sleep 0.1; done
echo
echo "\$ TARNWICK_TIME_SCALE=0.01 ./build/tarnwick update --file build/sample/sample.bin --ip $ip"
TARNWICK_TIME_SCALE=0.01 ./build/tarnwick update --file build/sample/sample.bin --ip "$ip"

echo
echo "\$ ./build/tarnwick history --history build/demo-history.db"
./build/tarnwick history --history "$TARNWICK_HISTORY"
