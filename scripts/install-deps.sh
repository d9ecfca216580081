#!/usr/bin/env bash
# Installs the Debian packages that building and testing ecc200 need (skips what is present).
# Usage: scripts/install-deps.sh [build]
set -euo pipefail

# What configuring and building the project needs (the release preset builds tests and benchmark).
build_packages=(
    build-essential cmake pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libzxing-dev libdmtx-dev libzint-dev
    libpng-dev libjpeg-dev libcli11-dev
    clang-format
)
# What the rest of the tests need: renderers for the tool's PDF/EPS, the Windows cross build and
# Wine, clang for the fuzzer, and the Python package's build and test packages.
test_packages=(
    poppler-utils ghostscript
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64
    clang-14 libclang-rt-14-dev
    python3-dev python3-venv python3-pip python3-setuptools python3-wheel pybind11-dev
    python3-pytest python3-numpy python3-pil python3-zxing-cpp python3-pylibdmtx
)
# "build" installs only what building needs; no argument installs everything.
packages=("${build_packages[@]}")
if [ "${1:-all}" != "build" ]; then packages+=("${test_packages[@]}"); fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
