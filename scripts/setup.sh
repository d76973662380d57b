#!/usr/bin/env bash
# Installs everything the build and the three test layers need on a Debian 12 machine.
# Safe to run again: it only installs what is missing. Must run as root (CI and developers are root).
set -euo pipefail

packages=(
  build-essential cmake ninja-build make pkg-config
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64
  googletest
  clang-14 libclang-rt-14-dev
  wine wine64 wine32:i386
  xvfb xdotool x11-utils imagemagick fonts-liberation
  iproute2 zip unzip python3
  chromium
  qemu-system-x86 busybox-static
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
