#!/usr/bin/env bash
# Builds Dravik in Release and runs its benchmark: loading, redrawing, cursor dragging and
# start-up, each figure beside its baseline. The logs are generated once into the build directory
# (about 1.8 GB for the 20,000,000-row log; --no-big leaves it out).
# Usage: scripts/bench.sh [--baseline-rev REV] [dravik_bench options, e.g. --repeats 5 --no-big]
#   --baseline-rev REV  also builds the benchmark of git revision REV and times its loads of the
#                       large log alternately with this build's, in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${DRAVIK_BUILD_DIR:-$root/build-bench}

baseline_rev=
args=()
while [[ $# -gt 0 ]]; do
  if [[ $1 == --baseline-rev && $# -gt 1 ]]; then
    baseline_rev=$2
    shift 2
  else
    args+=("$1")
    shift
  fi
done

"$root/scripts/install_deps.sh"
cmake -S "$root" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" -j "$(nproc)" --target dravik_bench
if [[ -n $baseline_rev ]]; then
  commit=$(git -C "$root" rev-parse --short "$baseline_rev")
  baseline_dir=$build_dir/baseline-$commit
  if [[ ! -x $baseline_dir/build/bench/dravik_bench ]]; then
    rm -rf "$baseline_dir"
    mkdir -p "$baseline_dir/src"
    git -C "$root" archive "$commit" | tar -x -C "$baseline_dir/src"
    cmake -S "$baseline_dir/src" -B "$baseline_dir/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$baseline_dir/build" -j "$(nproc)" --target dravik_bench
  fi
  args+=(--baseline "$baseline_dir/build/bench/dravik_bench")
fi
# Qt asks for a runtime directory; give it one rather than a warning per start.
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
exec "$build_dir/bench/dravik_bench" --dir "$build_dir/bench-data" "${args[@]}"
