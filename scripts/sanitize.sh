#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (or
# $DRAVIK_ASAN_BUILD_DIR) and runs them with ctest. Any sanitizer report fails the run. The Qt
# tests are included when Qt 6 is installed; DRAVIK_GUI=OFF leaves them out. DRAVIK_WERROR=ON
# makes every compiler warning an error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${DRAVIK_ASAN_BUILD_DIR:-$root/build-asan}

"$root/scripts/install_deps.sh"

gui=${DRAVIK_GUI:-}
if [ -z "$gui" ]; then
  gui=OFF
  for config in /usr/lib/*/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake \
                /usr/lib/cmake/Qt6Widgets/Qt6WidgetsConfig.cmake; do
    [ -e "$config" ] && gui=ON
  done
fi

# -O1 keeps the build short and the reports' stacks complete.
cmake -S "$root" -B "$build_dir" -DDRAVIK_SANITIZE=ON -DDRAVIK_GUI="$gui" \
  ${DRAVIK_WERROR:+-DDRAVIK_WERROR="$DRAVIK_WERROR"} \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build_dir"
ctest --output-on-failure -j "$(nproc)"
