#!/usr/bin/env bash
# Builds Dravik with its tests and runs every test with ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" -DDRAVIK_TESTS=ON
build_dir=${DRAVIK_BUILD_DIR:-$root/build}
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
