#!/usr/bin/env bash
# Renders the program's SVG icon into the PNG sizes of the hicolor theme under packaging/icons/,
# which are committed so that a build needs no SVG renderer. Run it after changing the SVG.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install_deps.sh" librsvg2-bin
for size in 16 32 48 64 128 256; do
  folder=$root/packaging/icons/hicolor/${size}x${size}/apps
  mkdir -p "$folder"
  rsvg-convert -w "$size" -h "$size" "$root/packaging/dravik.svg" -o "$folder/dravik.png"
done
