#!/usr/bin/env bash
# Builds the Debian package from the Release build and checks it: the desktop entry validates,
# and dravik-report from the unpacked package reads the example log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install_deps.sh" dpkg-dev desktop-file-utils
# The package holds the programs only, so GoogleTest, the tests and the benchmark stay out of
# its build.
"$root/scripts/build.sh" -DDRAVIK_TESTS=OFF
build_dir=${DRAVIK_BUILD_DIR:-$root/build}

desktop-file-validate "$root/packaging/dravik.desktop"
(cd "$build_dir" && rm -f dravik_*.deb && cpack -G DEB >/dev/null)
package=$(ls "$build_dir"/dravik_*.deb)
echo "Built $(basename "$package")"
dpkg-deb --field "$package" Package Version Depends

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
for file in usr/bin/dravik usr/bin/dravik-report usr/share/applications/dravik.desktop \
            usr/share/icons/hicolor/scalable/apps/dravik.svg usr/share/dravik/help/index.html; do
  [ -e "$unpacked/$file" ] || { echo "missing from the package: $file"; exit 1; }
done
"$unpacked/usr/bin/dravik-report" "$root/examples/drive.csv"
echo "The package's dravik-report read the example log."
