#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only when
# something is missing. Safe to run again and again.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 mingw-w64-tools
  wine64 xvfb xdotool xclip imagemagick gcovr
  socat
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  clang-tidy clang-format cppcheck
  sox
  libx11-dev libxtst-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
