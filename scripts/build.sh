#!/usr/bin/env bash
# Configures and builds Dravik in Release into build/ (or $DRAVIK_BUILD_DIR). DRAVIK_WERROR=ON
# in the environment makes every compiler warning an error, as CI builds.
# Usage: scripts/build.sh [cmake options, e.g. -DDRAVIK_TESTS=OFF]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${DRAVIK_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
  ${DRAVIK_WERROR:+-DDRAVIK_WERROR="$DRAVIK_WERROR"} "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
