#!/usr/bin/env bash
# The production-line part of the demo (scripts/demo.sh --station, after the build): a
# program directory with the stations 01 and 02 and a drive holding the sample package; each
# station updates its own simulated product (and its network module) over Ethernet on a
# loopback address: station 01 a healthy one, station 02 one whose PLD does not answer. The shared status area has a name of its own and is removed at the end.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${TARNWICK_BUILD_DIR:-build}"

program_dir="$(mktemp -d)"
export TARNWICK_PROGRAM_DIR="$program_dir"
export TARNWICK_SHM_NAME="/tarnwick-demo-$$"
export TARNWICK_TIME_SCALE=0.01
sim_pid=""
sim_out="$program_dir/sim.txt"
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -f "/dev/shm${TARNWICK_SHM_NAME}"
    rm -rf "$program_dir"
}
trap cleanup EXIT

mkdir -p "$program_dir/drive"
cp "$build/sample/sample.bin" "$program_dir/drive/line.bin"
for n in 01 02; do
    mkdir -p "$program_dir/$n"
    printf 'IPAddress;127.0.0.2%d\r\nSkip;ON\r\nDrive;%s\r\n' "${n#0}" "$program_dir/drive" \
        >"$program_dir/$n/UpdateInformation$n.txt"
done

# Starts a simulated product of the sample's model and its network module on the address
# $ip, with the extra options.
start_product() {
    : >"$sim_out"
    "$build/tarnwick-sim" --ip "$ip" --restart-delay 200 --net-module "$ip" --net-restart 100 \
        --model-code 0002 --version 0=0100 --version 2=0202 --version 6=0101 --info-kind 01=crc "$@" >"$sim_out" &
    sim_pid=$!
    for _ in $(seq 50); do grep -q "^$ip " "$sim_out" && break; sleep 0.1; done
}
stop_product() { kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; sim_pid=""; }

run_station() {
    local n="$1"; shift
    ip="127.0.0.2${n#0}"
    start_product "$@"
    echo
    echo "\$ tarnwick /$n        (product and network module on $ip${*:+, $*})"
    local status=0
    "$build/tarnwick" "/$n" || status=$?
    echo "exit status $status"
    stop_product
    echo
    echo "\$ tarnwick monitor --once"
    "$build/tarnwick" monitor --once || true
}

echo "A station directory and its information file:"
echo "\$ cat \$TARNWICK_PROGRAM_DIR/01/UpdateInformation01.txt"
cat "$program_dir/01/UpdateInformation01.txt" | tr -d '\r'
run_station 01
run_station 02 --absent 21
echo
echo "\$ ls \$TARNWICK_PROGRAM_DIR/02"
ls "$program_dir/02"
for log in "$program_dir"/02/*Error02.txt; do
    echo "\$ iconv -f CP932 $(basename "$log")"
    iconv -f CP932 -t UTF-8 "$log" | tr -d '\r' || cat "$log"
done
echo
echo "The line's history, shared by its stations:"
echo "\$ tarnwick history --history \$TARNWICK_PROGRAM_DIR/history.db"
"$build/tarnwick" history --history "$program_dir/history.db"
