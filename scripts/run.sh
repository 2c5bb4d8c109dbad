#!/usr/bin/env bash
# Builds Dravik and opens a log in it: the given one, or the example drive.
# Usage: scripts/run.sh [LOG.csv]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
log=${1:-$root/examples/drive.csv}

"$root/scripts/install_deps.sh"
"$root/scripts/build.sh"
build_dir=${DRAVIK_BUILD_DIR:-$root/build}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot open."
  echo "This is what dravik-report reads from $log:"
  echo
  exec "$build_dir/dravik-report" "$log"
fi
exec "$build_dir/dravik" "$log"
