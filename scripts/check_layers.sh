#!/usr/bin/env bash
# Fails, listing each offending line, when a file under src/<folder>/ includes a header of a
# folder above its own. Includes run one way only: common <- log <- chart <- panel <- app.
# Usage: scripts/check_layers.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
layers=(common log chart panel app)

status=0
for ((own = 0; own < ${#layers[@]}; own++)); do
  folder=$root/src/${layers[own]}
  [ -d "$folder" ] || continue
  above=$(IFS='|'; echo "${layers[*]:own+1}")
  [ -n "$above" ] || continue
  # grep exits with 1 when nothing matches, the good outcome; 2 means it could not read.
  found=0
  offenders=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($above)/" \
                --include='*.h' --include='*.cpp' "$folder") || found=$?
  if [ $found -eq 0 ]; then
    echo "${offenders//$root\//}"
    status=1
  elif [ $found -ne 1 ]; then
    exit $found
  fi
done
if [ $status -ne 0 ]; then
  echo "These includes reach a folder above their own (order: ${layers[*]})." >&2
fi
exit $status
