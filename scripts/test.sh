#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the optimised build, the
# AddressSanitizer + UndefinedBehaviorSanitizer build, a bounded libFuzzer run over the exports
# (clang) and the thread tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --workflow --preset release
cmake --workflow --preset asan
cmake --workflow --preset fuzz
cmake --workflow --preset tsan
