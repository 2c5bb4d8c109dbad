#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Dravik need, when missing.
# Usage: scripts/install_deps.sh [extra-package ...]
set -euo pipefail

packages=(
  build-essential cmake
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n python3
  libgtest-dev
  fonts-liberation fonts-ipafont-gothic
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
