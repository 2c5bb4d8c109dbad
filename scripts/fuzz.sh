#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ (or $DRAVIK_FUZZ_BUILD_DIR) and runs
# each for SECONDS (default 60) on a copy of its seed corpus. Fails when a target finds a crash,
# a leak, a timeout (10 s per input) or an input that needs more than 2 GB. DRAVIK_WERROR=ON makes
# every compiler warning an error.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${DRAVIK_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}

"$root/scripts/install_deps.sh" clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S "$root" -B "$build_dir" -DDRAVIK_FUZZ=ON -DDRAVIK_GUI=OFF \
  ${DRAVIK_WERROR:+-DDRAVIK_WERROR="$DRAVIK_WERROR"} \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(csv_reader channel_block mlvlg settings command_line formula)
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
  cp -r "$root/fuzz/corpus/$target" "$work/$target"
  options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
           -artifact_prefix="$build_dir/$target-")
  [ -e "$root/fuzz/$target.dict" ] && options+=(-dict="$root/fuzz/$target.dict")
  echo "== $target: $seconds s"
  if ! "$build_dir/fuzz/${target}_fuzz" "${options[@]}" "$work/$target" >"$work/$target.log" 2>&1; then
    echo "$target failed; the input is saved beside $build_dir/$target-*" >&2
    grep -A 40 -E '^==[0-9]+==ERROR|runtime error|deadly signal|ALARM|out-of-memory' \
      "$work/$target.log" >&2 || tail -n 40 "$work/$target.log" >&2
    status=1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units' "$work/$target.log" || true
done
exit $status
