#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the optimised build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, a bounded libFuzzer run over the exports
# (clang), the thread tests under ThreadSanitizer, the 64-bit Windows build (tests under 64-bit
# Wine), the 32-bit Windows build (the same tests under 32-bit Wine), and the Python package
# (checked against the optimised build's shared library).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --workflow --preset release
cmake --workflow --preset asan
scripts/test-python.sh build/release/libecc200.so
cmake --workflow --preset fuzz
cmake --workflow --preset tsan
cmake --workflow --preset windows-x64
cmake --workflow --preset windows-x86
