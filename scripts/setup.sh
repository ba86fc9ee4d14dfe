#!/usr/bin/env bash
# Installs what is missing (Debian 12 packages) and builds into ./build.
# Quick the second time: nothing is installed twice, the build is incremental.
# Packages named as arguments are installed too (scripts/package.sh names its own).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    fonts-arphic-uming fonts-dejavu-core
    libx11-dev libxtst-dev libx11-xcb-dev libxcb1-dev
    xvfb openbox x11-utils xdotool imagemagick
    weston xwayland
    libbenchmark-dev
    g++-mingw-w64-x86-64
    jp2a time
    libjpeg62-turbo-dev libicu-dev
    desktop-file-utils appstream man-db bash-completion
)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --parallel "$(nproc)"
