#!/usr/bin/env bash
# Installs the Debian packages that building and testing ecc200 need (skips what is present).
# Usage: scripts/install-deps.sh [build]
set -euo pipefail

# What building the library and the tool needs (the "tool" preset; scripts/demo.sh): the tool
# reads PNG and JPEG images and locates symbols in photographs with zxing-cpp and libdmtx.
build_packages=(
    build-essential cmake pkg-config
    libpng-dev libjpeg-dev libcli11-dev libzxing-dev libdmtx-dev
)
# What the tests and the benchmark need: GoogleTest, Google Benchmark and the other encoders and
# readers, renderers for the tool's PDF/EPS, the Windows cross build with 64- and 32-bit Wine
# (wine32 from the i386 architecture, added below), clang for the fuzzer and clang-format, and
# the Python package's build and test packages.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev libzint-dev
    clang-format
    poppler-utils ghostscript
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 wine32:i386
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
# 32-bit packages (the 32-bit Wine) come from the i386 architecture, which must be added first.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
