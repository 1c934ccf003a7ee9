#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing that is
# already there. Safe to run again: a second run installs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  ninja-build qt6-base-dev qt6-base-dev-tools
  libsqlite3-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation2 fonts-dejavu-core
  xvfb xauth imagemagick
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
