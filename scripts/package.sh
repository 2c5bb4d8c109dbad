#!/usr/bin/env bash
# Builds the Debian package from a Release build of its own and checks it: its files are there, the desktop
# entry and the AppStream metadata validate, the manual pages render, and the programs from the
# unpacked package answer --version and --help and read the example log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install_deps.sh" dpkg-dev desktop-file-utils appstream man-db
# The package holds the programs only, so GoogleTest, the tests and the benchmark stay out of
# its build, which has a folder of its own: build-package/ (or $DRAVIK_PACKAGE_BUILD_DIR), so that
# the test build in build/ keeps its configuration.
build_dir=${DRAVIK_PACKAGE_BUILD_DIR:-$root/build-package}
DRAVIK_BUILD_DIR=$build_dir "$root/scripts/build.sh" -DDRAVIK_TESTS=OFF

(cd "$build_dir" && rm -f dravik_*.deb && cpack -G DEB >/dev/null)
package=$(ls "$build_dir"/dravik_*.deb)
echo "Built $(basename "$package")"
dpkg-deb --field "$package" Package Version Depends Recommends

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
# The id and the version as the top CMakeLists.txt sets them.
app_id=$(sed -n 's/^set(DRAVIK_APP_ID \([^ )]*\))$/\1/p' "$root/CMakeLists.txt")
version=$(sed -n 's/^project(dravik VERSION \([0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
files=(usr/bin/dravik usr/bin/dravik-report usr/share/dravik/help/index.html
       usr/share/dravik/help/en/index.html usr/share/dravik/help/en/reference_log.png
       "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml"
       "usr/share/mime/packages/$app_id.xml"
       usr/share/man/man1/dravik.1 usr/share/man/man1/dravik-report.1
       usr/share/doc/dravik/copyright usr/share/icons/hicolor/scalable/apps/dravik.svg)
for size in 16 32 48 64 128 256; do
  files+=("usr/share/icons/hicolor/${size}x${size}/apps/dravik.png")
done
for file in "${files[@]}"; do
  [ -e "$unpacked/$file" ] || { echo "missing from the package: $file"; exit 1; }
done

desktop-file-validate "$unpacked/usr/share/applications/$app_id.desktop"
# The whole installed tree, so that the metadata is checked against the desktop entry beside it.
appstreamcli validate-tree --no-net "$unpacked"
for page in dravik dravik-report; do
  # The formatter's warnings (lines it cannot fit, unknown requests) fail the check; the
  # Japanese section needs a UTF-8 locale.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l --warnings "$unpacked/usr/share/man/man1/$page.1" \
               2>&1 >/dev/null | grep -i "warning" || true)
  [ -z "$warnings" ] || { echo "$page.1: $warnings"; exit 1; }
done
echo "The desktop entry, the AppStream metadata and the manual pages check out."

bin=$unpacked/usr/bin
for program in dravik dravik-report; do
  [ "$("$bin/$program" --version)" = "Dravik $version" ] ||
    { echo "$program --version does not print Dravik $version"; exit 1; }
done
# No display is needed: the text is printed before Qt starts.
env -u DISPLAY -u WAYLAND_DISPLAY "$bin/dravik" --help | grep -q "/d"
status=0
"$bin/dravik-report" --no-such-option 2>/dev/null || status=$?
[ $status -eq 2 ] || { echo "dravik-report exits $status on an unknown option, not 2"; exit 1; }
"$bin/dravik-report" "$root/examples/drive.csv"
echo "The package's programs print their version and help and read the example log."
