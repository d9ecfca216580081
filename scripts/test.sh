#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test: the optimised build and the
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the Python package against the optimised
# build's shared library.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --workflow --preset release
cmake --workflow --preset asan
scripts/test-python.sh build/release/libecc200.so
