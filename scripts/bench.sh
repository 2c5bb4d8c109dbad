#!/usr/bin/env bash
# Builds Dravik in Release and runs its benchmark: loading, redrawing, cursor dragging and
# start-up, each figure beside its baseline. The logs are generated once into the build directory
# (about 1.8 GB for the 20,000,000-row log; --no-big leaves it out).
# Usage: scripts/bench.sh [dravik_bench options, e.g. --repeats 5 --no-big]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${DRAVIK_BUILD_DIR:-$root/build-bench}

"$root/scripts/install_deps.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target dravik_bench
# Qt asks for a runtime directory; give it one rather than a warning per start.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec "$build_dir/bench/dravik_bench" --dir "$build_dir/bench-data" "$@"
