#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: loads the sample update package
# as "Load" does and prints its version listing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$TARNWICK_ROOT"

install_packages
build_tree build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo
echo "\$ tarnwick versions --file build/sample/sample.bin"
./build/tarnwick versions --file build/sample/sample.bin
