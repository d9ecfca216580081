#!/usr/bin/env bash
# Installs the Debian packages that building and testing ecc200 need (skips what is present).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libzxing-dev libdmtx-dev libzint-dev
    libpng-dev libcli11-dev
    poppler-utils ghostscript
    clang-format
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64
    clang-14 libclang-rt-14-dev
    python3-dev python3-venv python3-pip python3-setuptools python3-wheel pybind11-dev
    python3-pytest python3-numpy python3-pil python3-zxing-cpp python3-pylibdmtx
)

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
