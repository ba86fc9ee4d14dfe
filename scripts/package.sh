#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package
# build/zantoria_<version>_amd64.deb (install it with
# `sudo apt install ./build/zantoria_*.deb`).
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) and file work out the package's dependencies.
bash scripts/setup.sh dpkg-dev file
cd build
cpack -G DEB
ls -l zantoria_*_amd64.deb
