#!/usr/bin/env bash
# Runs the Windows build under Wine: its unit tests, then tarnwick.exe end to end against the
# simulated product (the Linux build's tarnwick-sim): an update over a pseudo-terminal that Wine
# maps to COM1, one over loopback TCP with the network module, a station that ends with
# "SUCCESS" in its slot of the shared area, and one that fails and writes its error log with
# the code page 932 labels. Wine's prefix is kept in the Windows build tree.
# Usage: scripts/wine_e2e.sh [WINDOWS_BUILD_DIR [LINUX_BUILD_DIR]]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
win="$PWD/${1:-build-windows}"
linux="$PWD/${2:-build}"
exe="$win/tarnwick.exe"
sim="$linux/tarnwick-sim"
for f in "$exe" "$sim" "$linux/sample/sample.bin"; do
    [ -e "$f" ] || { echo "wine_e2e.sh: $f is missing (scripts/windows.sh and the Linux build make it)" >&2; exit 1; }
done
wine64="$(command -v wine64 || echo /usr/lib/wine/wine64)"
wineserver="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
export WINEPREFIX="$win/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A real product's settling waits (minutes) pass at 1/100.
export TARNWICK_TIME_SCALE=0.01

work="$(mktemp -d)"
export TARNWICK_HISTORY="Z:${work//\//\\}\\history.db"
sim_pid=""
stop_product() { [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null || true; sim_pid=""; }
cleanup() { stop_product; "$wineserver" -k 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
wine_run() { "$wine64" "$exe" "$@"; }

# start_product ARGS...: the simulated product, its first line (device or address) in $product.
start_product() {
    stop_product
    : >"$work/sim.out"
    "$sim" "$@" >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
    product="$(head -n 1 "$work/sim.out")"
    [ -n "$product" ] || fail "the simulated product did not start: $(cat "$work/sim.err")"
}
product_args=(--model-code 0002 --version 0=0100 --version 2=0202 --version 6=0101 --info-kind 01=crc)

# expect_update NAME LOG RC: the run ended in "Update completed." with status 0.
expect_update() {
    grep -q "Update completed." "$2" && [ "$3" -eq 0 ] || { cat "$2"; fail "$1: status $3"; }
    echo "$1: Update completed. (status 0)"
}

echo "== Wine prefix $WINEPREFIX"
"$wine64" wineboot -i >/dev/null 2>&1 || true

echo "== tarnwick.exe --version"
version="$(wine_run --version | tr -d '\r')"
echo "$version"
expected="$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
[[ "$version" == *"$expected"* ]] || fail "--version printed '$version', not $expected"

echo "== Unit tests (tarnwick_tests.exe)"
"$wine64" "$win/tests/tarnwick_tests.exe" --gtest_brief=1 || fail "unit tests under Wine"

echo "== Update over RS-232C: COM1 is the simulated product's pseudo-terminal"
start_product "${product_args[@]}"
"$wine64" reg add 'HKLM\Software\Wine\Ports' /v COM1 /d "$product" /f >/dev/null 2>&1
"$wineserver" -k 2>/dev/null || true  # the port mapping is read when the wineserver starts
rc=0
wine_run update --file "$(winpath "$linux/sample/sample.bin")" --port COM1 --yes >"$work/serial.log" 2>&1 || rc=$?
expect_update "COM1" "$work/serial.log" "$rc"

echo "== Update over Ethernet with the network module"
ip=127.0.0.41
start_product --ip "$ip" --restart-delay 200 --net-module "$ip" --net-restart 100 "${product_args[@]}"
rc=0
wine_run update --file "$(winpath "$linux/sample/sample.bin")" --ip "$ip" --yes >"$work/ethernet.log" 2>&1 || rc=$?
expect_update "--ip $ip" "$work/ethernet.log" "$rc"

echo "== History of the two runs"
wine_run history | tr -d '\r' | tee "$work/history.txt"
[ "$(grep -c 'Update completed.' "$work/history.txt")" -ge 2 ] || fail "the history lacks the two runs"

# station N ADDRESS: station N's directory, information file and drive with the package.
station() {
    local dir="$work/stations/$(printf %02d "$1")" drive="$work/drive$1"
    mkdir -p "$dir" "$drive"
    cp "$linux/sample/sample.bin" "$drive/line.bin"
    printf 'IPAddress;%s\r\nSkip;ON\r\nDrive;%s\r\n' "$2" "$(winpath "$drive")" >"$dir/UpdateInformation$(printf %02d "$1").txt"
}
export TARNWICK_PROGRAM_DIR="$(winpath "$work/stations")\\"

echo "== Station 01 over Ethernet: SUCCESS in its slot"
start_product --ip "$ip" --restart-delay 200 --net-module "$ip" --net-restart 100 "${product_args[@]}"
station 1 "$ip"
# The area lives while a process has it open: a monitor holds it from before the station.
wine_run monitor >"$work/monitor.out" 2>&1 &
monitor_pid=$!
rc=0
wine_run /01 >"$work/station1.log" 2>&1 || rc=$?
wine_run monitor --json | tr -d '\r' >"$work/slots.json" || true
kill "$monitor_pid" 2>/dev/null; wait "$monitor_pid" 2>/dev/null || true
grep -q '"SUCCESS"' "$work/slots.json" || { cat "$work/station1.log" "$work/slots.json"; fail "station 01: no SUCCESS in its slot (status $rc)"; }
echo "station 01: SUCCESS in slot 1 (status $rc)"

echo "== Station 02 whose product's PLD does not answer: its error log"
start_product --ip "$ip" --restart-delay 200 --net-module "$ip" --net-restart 100 "${product_args[@]}" --absent 21
station 2 "$ip"
rc=0
wine_run /02 >"$work/station2.log" 2>&1 || rc=$?
logs=("$work"/stations/02/*Error02.txt)
[ -f "${logs[0]}" ] || { cat "$work/station2.log"; fail "station 02 wrote no error log (status $rc)"; }
# Firmware名, アップデート進捗状況, エラーメッセージ in code page 932, each line ending in CR LF.
labels=(4669726d7761726596bc3b 8341836283768366815b8367906992bb8ff38bb53b 83478389815b83818362835a815b83573b)
mapfile -t lines < <(od -An -tx1 -v "${logs[0]}" | tr '\n' ' ' | tr -s ' ' | sed 's/ 0d 0a/\n/g' | tr -d ' ')
[ "${#lines[@]}" -eq 3 ] || fail "the error log has ${#lines[@]} lines, not 3"
for i in 0 1 2; do
    [[ "${lines[$i]}" == "${labels[$i]}"* ]] || fail "error log line $((i + 1)) starts ${lines[$i]:0:24}, not ${labels[$i]}"
done
[ "$(tail -c 2 "${logs[0]}" | od -An -tx1 | tr -d ' \n')" = "0d0a" ] || fail "the error log does not end in CR LF"
echo "station 02: $(basename "${logs[0]}") with the code page 932 labels (status $rc)"
echo "== Wine runs passed"
