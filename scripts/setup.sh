#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when all are there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  clang libclang-rt-14-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont
  libfreetype-dev xfonts-shinonome
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  zlib1g-dev libdeflate-dev libpng-dev libpixman-1-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
