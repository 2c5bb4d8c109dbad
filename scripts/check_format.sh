#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format (with the repository's
# .clang-format) makes of it; clang-format names each file and line that differs.
# Usage: scripts/check_format.sh   (fix with: clang-format -i FILE ...)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/scripts/install_deps.sh" clang-format

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || exit 0
clang-format --dry-run --Werror "${files[@]}"
echo "clang-format: all ${#files[@]} C++ files are formatted."
