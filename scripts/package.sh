#!/usr/bin/env bash
# Builds what the Debian packages contain (the window program, the headless program, the
# simulated product; no tests, no benchmarks) and makes the three packages in
# build/packages/: tarnwick (with the window), tarnwick-headless (no Qt, no ALSA) and
# tarnwick-sim (the simulated product). With --check it then checks them: lintian reports
# no errors, the headless package depends on neither Qt nor ALSA, the binaries are stripped.
set -euo pipefail
check=0
case "${1:-}" in
    --check) check=1 ;;
    "") ;;
    *) echo "usage: scripts/package.sh [--check]" >&2; exit 64 ;;
esac
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

install_packages
out="$TARNWICK_ROOT/build/packages"
build_tree build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=OFF
rm -rf "$out" && mkdir -p "$out"
(cd build-package && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls -1 "$out"/*.deb

[ "$check" -eq 1 ] || exit 0

fail() { echo "package check: $*" >&2; exit 1; }
for deb in "$out"/*.deb; do
    echo "== $(basename "$deb")"
    dpkg-deb --contents "$deb" | awk '{print $6}'
done
headless_deps="$(dpkg-deb -f "$out"/tarnwick-headless_*.deb Depends)"
echo "tarnwick-headless depends on: $headless_deps"
if grep -Eiq 'qt|asound' <<<"$headless_deps"; then fail "the headless package depends on Qt or ALSA"; fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
for deb in "$out"/*.deb; do
    dpkg-deb -x "$deb" "$tmp/$(basename "$deb" .deb)"
done
while IFS= read -r binary; do
    file "$binary" | grep -q ', stripped' || fail "not stripped: $binary"
done < <(find "$tmp" -path '*/usr/bin/*' -type f)
# The headless program runs from its package alone (no Qt, no ALSA needed to start it).
headless="$(echo "$tmp"/tarnwick-headless_*/usr/bin/tarnwick)"
if ldd "$headless" | grep -Eiq 'qt|asound'; then fail "the headless program links Qt or ALSA"; fi
"$headless" versions --file build-package/sample/sample.bin >/dev/null || fail "the headless program does not run"
# lintian refuses to run as root without being told; its warnings are listed, its errors fail.
lintian --allow-root --tag-display-limit 0 "$out"/*.deb | tee "$tmp/lintian.txt"
if grep -q '^E:' "$tmp/lintian.txt"; then fail "lintian reports errors"; fi
echo "packages checked"
